// The engine's archive wrappers over the real kel.dll and 7-Zip, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/extraction_job.h"
#include "media/seven_zip_archive.h"
#include "platform/media/kel_archive_library.h"
#include "platform/media/tests/content_files.h"
#include "tests/support/fixture_paths.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using corvane::test::FixturePath;

using corvane::test::ContentText;
using corvane::test::ReadFileText;

class SevenZipWrappersTest : public ::testing::Test {
protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    destination_ = fs::temp_directory_path() / (std::string("kel-wrappers-") + test->name());
    fs::remove_all(destination_);
  }
  void TearDown() override { fs::remove_all(destination_); }

  TArchiveExtraction Extraction(const std::string& fixture) const {
    TArchiveExtraction extraction;
    extraction.archivePath = FixturePath(fixture);
    extraction.destination = destination_.string();
    extraction.overwriteAnswer = true;
    extraction.folderFlag = true;
    return extraction;
  }

  TKelArchiveLibrary kel_;
  fs::path destination_;
};

TEST_F(SevenZipWrappersTest, ListsAnArchiveIntoTextLists) {
  std::vector<std::string> names, attributes, sizes, packed, dates;
  std::string error;
  ASSERT_TRUE(SevenZipListArchive(kel_, FixturePath("kel_lzma2.7z"), "", error, nullptr,
                                  {&names, &attributes, &sizes, &packed, &dates}));
  ASSERT_EQ(names.size(), 6u);
  const auto readme = std::find(names.begin(), names.end(), "readme.txt") - names.begin();
  ASSERT_LT(readme, 6);
  EXPECT_EQ(sizes[readme], std::to_string(ContentText("readme.txt").size()));
  EXPECT_FALSE(dates[readme].empty());
  const auto folder = std::find(names.begin(), names.end(), "Plugins") - names.begin();
  EXPECT_EQ(std::stoul(attributes[folder]) & FILE_ATTRIBUTE_DIRECTORY, unsigned(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(sizes[folder], "0");
}

TEST_F(SevenZipWrappersTest, ListingFailuresCarryTheirTexts) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "The archive file was not found"},
      {FixturePath("no-such-archive.7z"), "The archive file was not found"},
      {FixturePath("kel_*.7z"), "Illegal path used in a wildcard expression"},
      {FixturePath("kel_aes_headers.7z"), "The archive cannot be opened: unsupported archive or incorrect password"},
  };
  for (const auto& [archive, text] : cases) {
    std::string error;
    EXPECT_FALSE(SevenZipListArchive(kel_, archive, "WRONG", error, nullptr, {})) << archive;
    EXPECT_EQ(error, text) << archive;
    // Extraction without a file list lists first and fails with the same text.
    TArchiveExtraction extraction = Extraction("kel_lzma2.7z");
    extraction.archivePath = archive;
    extraction.password = "WRONG";
    EXPECT_FALSE(SevenZipExtractArchive(kel_, extraction, error));
    EXPECT_EQ(error, text) << archive;
  }
}

TEST_F(SevenZipWrappersTest, ExtractsTheSetupResourceWay) {
  // Start-up: no password, default callbacks, overwrite answer and folder flag set.
  std::string error;
  ASSERT_TRUE(SevenZipExtractArchive(kel_, Extraction("kel_bcj2.7z"), error)) << error;
  EXPECT_EQ(error, "");
  EXPECT_EQ(ReadFileText(destination_ / "Plugins" / "x86" / "deep.txt"), ContentText("Plugins/x86/deep.txt"));
  EXPECT_EQ(ReadFileText(destination_ / "readme.txt"), ContentText("readme.txt"));

  // Zero items extract to nothing, successfully.
  ASSERT_TRUE(SevenZipExtractArchive(kel_, Extraction("kel_empty.7z"), error)) << error;
}

TEST_F(SevenZipWrappersTest, FolderFlagClearPutsEveryFileInTheDestination) {
  TArchiveExtraction extraction = Extraction("kel_lzma.7z");
  extraction.folderFlag = false;
  std::string error;
  ASSERT_TRUE(SevenZipExtractArchive(kel_, extraction, error)) << error;
  EXPECT_EQ(ReadFileText(destination_ / "deep.txt"), ContentText("Plugins/x86/deep.txt"));
  EXPECT_FALSE(fs::exists(destination_ / "Plugins"));
}

TEST_F(SevenZipWrappersTest, OverwriteAnswerFlagReplacesOrKeepsExistingFiles) {
  for (const bool overwrite : {false, true}) {
    fs::create_directories(destination_);
    std::ofstream(destination_ / "readme.txt") << "old";
    TArchiveExtraction extraction = Extraction("kel_lzma2.7z");
    extraction.overwriteAnswer = overwrite;
    std::string error;
    ASSERT_TRUE(SevenZipExtractArchive(kel_, extraction, error)) << error;
    EXPECT_EQ(ReadFileText(destination_ / "readme.txt"), overwrite ? ContentText("readme.txt") : "old");
    EXPECT_EQ(ReadFileText(destination_ / "Plugins" / "helper.txt"), ContentText("Plugins/helper.txt"));
    fs::remove_all(destination_);
  }
}

TEST_F(SevenZipWrappersTest, PasswordsOfEncryptedArchives) {
  std::string error;
  TArchiveExtraction extraction = Extraction("kel_aes_headers.7z");
  extraction.password = "SECRET";
  ASSERT_TRUE(SevenZipExtractArchive(kel_, extraction, error)) << error;
  EXPECT_EQ(ReadFileText(destination_ / "readme.txt"), ContentText("readme.txt"));

  // A password callback of the caller's serves when the argument is empty.
  fs::remove_all(destination_);
  extraction.password = "";
  int asked = 0;
  extraction.passwordCallback = [&]() -> std::optional<std::string> {
    ++asked;
    return "SECRET";
  };
  ASSERT_TRUE(SevenZipExtractArchive(kel_, extraction, error)) << error;
  EXPECT_EQ(asked, 2) << "once for the listing, once for the extraction";

  // Wrong or oversized passwords fail cleanly: "#" and the library's code.
  const std::string tooLong(KEL_PASSWORD_BUFFER_SIZE, 'S');
  for (const std::string& wrong : {std::string("WRONG"), tooLong}) {
    TArchiveExtraction dataOnly = Extraction("kel_aes.7z");
    dataOnly.destination = (destination_ / "wrong").string();
    dataOnly.passwordCallback = [&]() -> std::optional<std::string> { return wrong; };
    EXPECT_FALSE(SevenZipExtractArchive(kel_, dataOnly, error));
    EXPECT_EQ(error, "#" + std::to_string(KEL_ERROR_WRONG_PASSWORD));
  }
}

TEST_F(SevenZipWrappersTest, HostileItemPathsFailTheExtraction) {
  std::string error;
  EXPECT_FALSE(SevenZipExtractArchive(kel_, Extraction("kel_hostile_0.7z"), error));
  EXPECT_EQ(error, "#" + std::to_string(KEL_ERROR_UNSAFE_ITEM_PATH));
  EXPECT_FALSE(fs::exists(destination_));
}

TEST_F(SevenZipWrappersTest, JobProgressFollowsTheExtractionAndCancelStopsIt) {
  int wakes = 0;
  TExtractionRequest request;
  TExtractionJob job(
      request, [&] { ++wakes; }, "% complete");
  std::vector<int32_t> percents;
  TArchiveExtraction extraction = Extraction("kel_big.7z");
  extraction.progressCallback = [&](const std::string& item, uint64_t done, uint64_t total) {
    const bool goOn = job.ReportProgress(item, done, total);
    percents.push_back(job.Progress().percent);
    return goOn;
  };
  std::string error;
  ASSERT_TRUE(SevenZipExtractArchive(kel_, extraction, error)) << error;
  ASSERT_GE(percents.size(), 3u);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(job.Progress().line, "big.bin, 100% complete");
  EXPECT_EQ(wakes, int(percents.size()));

  // The interpreter copies a confirmed cancel into the job midway.
  fs::remove_all(destination_);
  percents.clear();
  extraction.progressCallback = [&](const std::string& item, uint64_t done, uint64_t total) {
    if (done > 0) job.SetCancelRequest(true);
    return job.ReportProgress(item, done, total);
  };
  EXPECT_FALSE(SevenZipExtractArchive(kel_, extraction, error));
  EXPECT_EQ(error, "#" + std::to_string(KEL_ERROR_STOPPED));
  EXPECT_FALSE(fs::exists(destination_ / "big.bin"));
}

TEST(FormatArchiveDateTest, ShowsLocalTimeAtDosPrecision) {
  // Built from local time, so the expectation holds in any time zone.
  const auto utcOf = [](WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    const SYSTEMTIME local = {year, month, 0, day, hour, minute, second, 0};
    FILETIME localTime, utc;
    SystemTimeToFileTime(&local, &localTime);
    LocalFileTimeToFileTime(&localTime, &utc);
    return TKelFileTime{utc.dwLowDateTime, utc.dwHighDateTime};
  };
  // The user's locale here is English (United States).
  EXPECT_EQ(FormatArchiveDate(utcOf(2026, 12, 11, 13, 56, 29)), "12/11/2026 1:56:28 PM");
  EXPECT_EQ(FormatArchiveDate(utcOf(1980, 1, 1, 0, 0, 0)), "1/1/1980 12:00:00 AM");
  EXPECT_EQ(FormatArchiveDate(utcOf(1979, 12, 31, 23, 59, 58)), "");
  EXPECT_EQ(FormatArchiveDate({0, 0}), "");
}

}  // namespace
}  // namespace corvane

namespace corvane {
namespace {

TEST(KelArchiveLibraryTest, AMissingOrIncompleteLibraryFailsWithAClearError) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  const struct {
    std::wstring path;
    const char* error;
  } cases[] = {
      {L"C:\\no-such-folder\\kel.dll", "could not be loaded (error 126)"},
      {std::wstring(system) + L"\\version.dll", "lacks the function OpenListArchive"},
  };
  for (const auto& c : cases) {
    TKelArchiveLibrary library(c.path);
    std::string error;
    EXPECT_FALSE(SevenZipListArchive(library, FixturePath("kel_lzma2.7z"), "", error, nullptr, {}));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
    EXPECT_EQ(error.rfind("The archive library ", 0), 0u) << error;
    TArchiveExtraction extraction;
    extraction.archivePath = FixturePath("kel_lzma2.7z");
    extraction.destination = (std::filesystem::temp_directory_path() / "kel-unusable").string();
    const std::vector<std::string> everything = {"readme.txt"};
    extraction.fileList = &everything;
    EXPECT_FALSE(SevenZipExtractArchive(library, extraction, error));
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

}  // namespace
}  // namespace corvane
