#include "launcher/script_container.h"
#include "launcher/tests/mini_pe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace corvane {
namespace {

using test::MiniPe;
using test::Put16;
using test::Put32;
using test::TBytes;
constexpr std::size_t kPeAt = test::kMiniPeSignatureAt;

TEST(ImageEnd, IsTheLargestRawDataEndForEitherOptionalHeaderSize) {
  // 224 bytes in a 32-bit image, 240 in a 64-bit one; sections out of order,
  // one without raw data.
  for (std::uint16_t optionalHeader : {std::uint16_t{224}, std::uint16_t{240}}) {
    const TBytes pe = MiniPe(optionalHeader, {{0x400, 0x200}, {0x1000, 0x600}, {0, 0}, {0x600, 0x100}});
    EXPECT_EQ(FindImageEnd(pe), 0x1600u) << optionalHeader;
    EXPECT_EQ(AppendedData(pe), std::string_view()) << optionalHeader;
  }
}

TEST(ImageEnd, AppendedDataIsEverythingAfterTheImage) {
  TBytes file = MiniPe(224, {{0x400, 0x200}});
  const std::string container = "$\r\n$\r\n";
  file.insert(file.end(), container.begin(), container.end());
  EXPECT_EQ(FindImageEnd(file), 0x600u);
  EXPECT_EQ(AppendedData(file), container);
}

std::string AsText(const TBytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A code signature: the certificate table entry of the optional header
// (PE32 or PE32+ by its size) pointing at the given file range.
void Sign(TBytes& file, std::uint16_t optionalHeaderSize, std::uint32_t offset, std::uint32_t size) {
  const std::size_t optionalHeader = kPeAt + 24;
  const bool plus = optionalHeaderSize == 240;
  Put16(file, optionalHeader, plus ? 0x20B : 0x10B);
  const std::size_t count = optionalHeader + (plus ? 108 : 92);
  Put32(file, count, 16);
  Put32(file, count + 4 + 4 * 8, offset);
  Put32(file, count + 4 + 4 * 8 + 4, size);
}

TEST(ImageEnd, ACodeSignatureIsNotAppendedData) {
  const std::string container = "$\r\n$\r\n";
  const std::string signature(24, '\x5A');
  for (std::uint16_t optionalHeader : {std::uint16_t{224}, std::uint16_t{240}}) {
    SCOPED_TRACE(optionalHeader);
    const TBytes image = MiniPe(optionalHeader, {{0x400, 0x200}});
    const auto withTail = [&](const std::string& tail) {
      TBytes file = image;
      file.insert(file.end(), tail.begin(), tail.end());
      return file;
    };
    // Appended, then signed: the signature follows the container.
    TBytes appendedThenSigned = withTail(container + signature);
    Sign(appendedThenSigned, optionalHeader, 0x600 + container.size(), signature.size());
    EXPECT_EQ(AppendedData(appendedThenSigned), container);
    // Signed, then appended: the container follows the signature.
    TBytes signedThenAppended = withTail(signature + container);
    Sign(signedThenAppended, optionalHeader, 0x600, signature.size());
    EXPECT_EQ(AppendedData(signedThenAppended), container);
    // Signed, nothing appended.
    TBytes signedOnly = withTail(signature);
    Sign(signedOnly, optionalHeader, 0x600, signature.size());
    EXPECT_EQ(AppendedData(signedOnly), std::string_view());
    // Cut for a new script, the image keeps no entry of a signature it lost.
    TBytes unsignedImage = image;
    Sign(unsignedImage, optionalHeader, 0, 0);
    const std::string cut = ImageWithoutAppendedData(AsText(appendedThenSigned)).value_or("");
    EXPECT_EQ(cut, AsText(unsignedImage));
    // An entry that points past the end of the file is no signature.
    TBytes bogus = withTail(container);
    Sign(bogus, optionalHeader, 0x600, 0x10000);
    EXPECT_EQ(AppendedData(bogus), container);
  }
}

TEST(ImageEnd, HeadersCountWhenNoSectionHasRawData) {
  const TBytes pe = MiniPe(224, {});
  EXPECT_EQ(FindImageEnd(pe), kPeAt + 24 + 224);
}

TEST(ImageEnd, RejectsWhatIsNotACompletePeFile) {
  const TBytes good = MiniPe(224, {{0x400, 0x200}});
  const std::size_t table = kPeAt + 24 + 224;
  struct Case {
    const char* what;
    TBytes bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"shorter than a DOS header", TBytes(good.begin(), good.begin() + 0x3F)});
  cases.push_back({"no MZ", good});
  cases.back().bytes[0] = 'X';
  cases.push_back({"signature offset past the end", good});
  Put32(cases.back().bytes, 0x3C, 0xFFFFFFF0u);
  cases.push_back({"file header cut short", TBytes(good.begin(), good.begin() + kPeAt + 10)});
  cases.push_back({"not PE\\0\\0", good});
  cases.back().bytes[kPeAt + 2] = 'X';
  cases.push_back({"section table cut short", TBytes(good.begin(), good.begin() + table + 20)});
  cases.push_back({"optional header size past the end", good});
  Put16(cases.back().bytes, kPeAt + 4 + 16, 0xFFFF);
  cases.push_back({"many sections past the end", good});
  Put16(cases.back().bytes, kPeAt + 4 + 2, 0xFFFF);
  cases.push_back({"raw data cut short", TBytes(good.begin(), good.end() - 1)});
  cases.push_back({"raw data end beyond 32 bits", good});
  Put32(cases.back().bytes, table + 16, 0xFFFFFFFFu);
  Put32(cases.back().bytes, table + 20, 0xFFFFFFFFu);
  for (const Case& c : cases) {
    EXPECT_EQ(FindImageEnd(c.bytes), std::nullopt) << c.what;
    EXPECT_EQ(AppendedData(c.bytes), std::nullopt) << c.what;
  }
}

TBytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  TBytes bytes(in ? static_cast<std::size_t>(in.tellg()) : 0);
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

// Windows reads the Linux path through drive Z:, which maps the root.
std::string OwnExecutable() {
#ifdef _WIN32
  return std::string("Z:") + CORVANE_TEST_EXE;
#else
  return CORVANE_TEST_EXE;
#endif
}

#ifdef _WIN32
std::uint32_t Read32(const TBytes& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                    static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// The test program is a real MinGW executable. Unless stripped it carries a
// COFF symbol table after its last section, which is not part of the image.
TEST(ImageEnd, OfThisMinGwExecutableCarriesAContainerAppendedToIt) {
  const TBytes self = ReadFile(OwnExecutable());
  ASSERT_GT(self.size(), 0x1000u);
  const std::optional<std::size_t> end = FindImageEnd(self);
  ASSERT_TRUE(end);
  const std::size_t fileHeader = Read32(self, 0x3C) + 4;
  const std::uint32_t symbolTable = Read32(self, fileHeader + 8);
  if (symbolTable != 0) {
    EXPECT_LE(*end, symbolTable);
    EXPECT_LT(*end, self.size());
  } else {
    EXPECT_EQ(*end, self.size());
  }

  const std::string container = "Set Variable\r\n$\r\n{G}\r\n$\r\n$\r\n$\r\n{P}\r\nT\r\n$\r\n\r\n\r\n"
                                "\r\n\r\n\r\n$\r\n0\r\n$\r\n{R}\r\n$\r\nFALSE\r\nEnglish\r\n$\r\n";
  TBytes carrying(self.begin(), self.begin() + static_cast<std::ptrdiff_t>(*end));
  carrying.insert(carrying.end(), container.begin(), container.end());
  const std::optional<std::string_view> appended = AppendedData(carrying);
  ASSERT_TRUE(appended);
  EXPECT_EQ(*appended, container);
  EXPECT_EQ(TScriptContainer::Parse(*appended).Name(0), "Set Variable");
}
#else
TEST(ImageEnd, OfALinuxExecutableIsNotFound) {
  const TBytes self = ReadFile(OwnExecutable());
  ASSERT_GT(self.size(), 0x1000u);
  EXPECT_EQ(FindImageEnd(self), std::nullopt);
}
#endif

}  // namespace
}  // namespace corvane
