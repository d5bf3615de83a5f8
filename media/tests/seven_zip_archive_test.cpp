#include "media/seven_zip_archive.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "media/tests/fake_archive_library.h"

namespace corvane {
namespace {

using testing::TFakeLibrary;

std::vector<TArchiveListEntry> TwoEntries() {
  return {{"Plugins\\helper.dll", 32, 1024, 600, "11/12/2026 13:56:28"}, {"readme.txt", 8224, 7, 0, ""}};
}

TArchiveExtraction Extraction() {
  TArchiveExtraction extraction;
  extraction.archivePath = "C:\\setup.res";
  extraction.destination = "C:\\work\\kel1\\";
  return extraction;
}

TEST(SevenZipListArchiveTest, FillsTheGivenListsInArchiveOrder) {
  TFakeLibrary library;
  library.entries = TwoEntries();
  std::vector<std::string> names = {"stale"}, attributes = {"stale"}, sizes, packed, dates = {"stale", "stale"};
  std::string error = "stale";
  ASSERT_TRUE(SevenZipListArchive(library, "a.7z", "", error, nullptr, {&names, &attributes, &sizes, &packed, &dates}));
  EXPECT_EQ(error, "");
  EXPECT_EQ(names, std::vector<std::string>({"Plugins\\helper.dll", "readme.txt"}));
  EXPECT_EQ(attributes, std::vector<std::string>({"32", "8224"}));
  EXPECT_EQ(sizes, std::vector<std::string>({"1024", "7"}));
  EXPECT_EQ(packed, std::vector<std::string>({"600", "0"}));
  EXPECT_EQ(dates, std::vector<std::string>({"11/12/2026 13:56:28", ""}));

  // Absent lists are simply not filled.
  std::vector<std::string> onlySizes = {"stale"};
  ASSERT_TRUE(SevenZipListArchive(library, "a.7z", "", error, nullptr, {.sizes = &onlySizes}));
  EXPECT_EQ(onlySizes, std::vector<std::string>({"1024", "7"}));
}

TEST(SevenZipListArchiveTest, FailureTextsFollowTheLibraryCode) {
  const std::pair<uint32_t, const char*> cases[] = {
      {1001, "The archive file was not found"},
      {1002, "Illegal path used in a wildcard expression"},
      {1003, "The archive cannot be opened: unsupported archive or incorrect password"},
      {1004, "General failure opening archive"},
      {0, "General failure opening archive"},
  };
  for (const auto& [code, text] : cases) {
    TFakeLibrary library;
    library.entries = std::nullopt;
    library.lastError = code;
    std::vector<std::string> names = {"stale"};
    std::string error;
    EXPECT_FALSE(SevenZipListArchive(library, "a.7z", "", error, nullptr, {.names = &names}));
    EXPECT_EQ(error, text) << code;
    EXPECT_TRUE(names.empty()) << "given lists are cleared even when listing fails";
  }
}

TEST(SevenZipListArchiveTest, AnExceptionBecomesTheErrorText) {
  TFakeLibrary library;
  library.throwInCall = true;
  std::string error;
  EXPECT_FALSE(SevenZipListArchive(library, "a.7z", "", error, nullptr, {}));
  EXPECT_EQ(error, "out of luck");
  EXPECT_FALSE(SevenZipExtractArchive(library, Extraction(), error));
  EXPECT_EQ(error, "out of luck");
}

TEST(SevenZipArchivePasswordTest, DefaultOffersThePasswordOncePerOperation) {
  TFakeLibrary library;
  std::vector<std::optional<std::string>> offered;
  library.duringCall = [&](TArchiveCallbacks& callbacks) {
    offered.push_back(callbacks.Password());
    offered.push_back(callbacks.Password());
  };
  std::string error;
  ASSERT_TRUE(SevenZipListArchive(library, "a.7z", "SECRET", error, nullptr, {}));
  EXPECT_EQ(library.listedPassword, "SECRET");
  EXPECT_EQ(offered, (std::vector<std::optional<std::string>>{"SECRET", std::nullopt}));

  // Extraction without a file list lists first: each operation offers it once.
  offered.clear();
  TArchiveExtraction extraction = Extraction();
  extraction.password = "SECRET";
  ASSERT_TRUE(SevenZipExtractArchive(library, extraction, error));
  EXPECT_EQ(library.extractPassword, "SECRET");
  EXPECT_EQ(offered, (std::vector<std::optional<std::string>>{"SECRET", std::nullopt, "SECRET", std::nullopt}));

  // No password, nothing to offer.
  offered.clear();
  ASSERT_TRUE(SevenZipListArchive(library, "a.7z", "", error, nullptr, {}));
  EXPECT_EQ(offered, (std::vector<std::optional<std::string>>{std::nullopt, std::nullopt}));
}

TEST(SevenZipArchivePasswordTest, AGivenPasswordCallbackIsAskedEveryTime) {
  TFakeLibrary library;
  std::vector<std::optional<std::string>> offered;
  library.duringCall = [&](TArchiveCallbacks& callbacks) {
    offered.push_back(callbacks.Password());
    offered.push_back(callbacks.Password());
  };
  int asked = 0;
  TArchiveExtraction extraction = Extraction();
  extraction.password = "IGNORED";
  extraction.passwordCallback = [&]() -> std::optional<std::string> { return "ASKED" + std::to_string(++asked); };
  const std::vector<std::string> files = {"readme.txt"};
  extraction.fileList = &files;
  std::string error;
  ASSERT_TRUE(SevenZipExtractArchive(library, extraction, error));
  EXPECT_EQ(offered, (std::vector<std::optional<std::string>>{"ASKED1", "ASKED2"}));
}

TEST(SevenZipExtractArchiveTest, WithoutAFileListEveryListedItemIsSelected) {
  TFakeLibrary library;
  library.entries = TwoEntries();
  std::string error;
  ASSERT_TRUE(SevenZipExtractArchive(library, Extraction(), error));
  EXPECT_EQ(library.listCalls, 1);
  EXPECT_EQ(library.selection, std::vector<std::string>({"Plugins\\helper.dll", "readme.txt"}));
  EXPECT_EQ(library.destination, "C:\\work\\kel1\\");

  // Zero items: the library is still called, with nothing selected.
  library.entries = std::vector<TArchiveListEntry>();
  ASSERT_TRUE(SevenZipExtractArchive(library, Extraction(), error));
  EXPECT_EQ(library.extractCalls, 2);
  EXPECT_TRUE(library.selection.empty());
}

TEST(SevenZipExtractArchiveTest, AFileListIsPassedInItsOrderWithoutListing) {
  TFakeLibrary library;
  const std::vector<std::string> files = {"readme.txt", "Plugins\\helper.dll"};
  TArchiveExtraction extraction = Extraction();
  extraction.fileList = &files;
  std::string error;
  ASSERT_TRUE(SevenZipExtractArchive(library, extraction, error));
  EXPECT_EQ(library.listCalls, 0);
  EXPECT_EQ(library.selection, files);
}

TEST(SevenZipExtractArchiveTest, AFailedListingStopsWithItsText) {
  TFakeLibrary library;
  library.entries = std::nullopt;
  library.lastError = 1001;
  std::string error;
  EXPECT_FALSE(SevenZipExtractArchive(library, Extraction(), error));
  EXPECT_EQ(error, "The archive file was not found");
  EXPECT_EQ(library.extractCalls, 0);
}

TEST(SevenZipExtractArchiveTest, AFailedExtractionReportsHashAndCode) {
  TFakeLibrary library;
  library.extractResult = false;
  library.lastError = 1006;
  std::string error;
  EXPECT_FALSE(SevenZipExtractArchive(library, Extraction(), error));
  EXPECT_EQ(error, "#1006");
}

TEST(SevenZipExtractArchiveTest, FlagsBecomeTheFolderArgumentAndTheOverwriteAnswer) {
  struct TCase {
    bool folderFlag;
    bool overwriteAnswer;
    uint32_t folders;
    int32_t answer;
  };
  const TCase cases[] = {{true, true, kArchiveKeepFolders, kArchiveAnswerReplaceAll},
                         {false, false, kArchiveFlatFolders, kArchiveAnswerKeepExisting},
                         {true, false, kArchiveKeepFolders, kArchiveAnswerKeepExisting},
                         {false, true, kArchiveFlatFolders, kArchiveAnswerReplaceAll}};
  for (const TCase& c : cases) {
    TFakeLibrary library;
    int32_t answer = 0;
    library.duringCall = [&](TArchiveCallbacks& callbacks) { answer = callbacks.OverwriteAnswer(); };
    TArchiveExtraction extraction = Extraction();
    extraction.folderFlag = c.folderFlag;
    extraction.overwriteAnswer = c.overwriteAnswer;
    std::string error;
    ASSERT_TRUE(SevenZipExtractArchive(library, extraction, error));
    EXPECT_EQ(library.folders, c.folders) << c.folderFlag;
    EXPECT_EQ(answer, c.answer) << c.overwriteAnswer;
  }
}

TEST(SevenZipExtractArchiveTest, ProgressGoesToTheGivenCallbackWhichMayStop) {
  TFakeLibrary library;
  std::vector<bool> answers;
  library.duringCall = [&](TArchiveCallbacks& callbacks) {
    answers.push_back(callbacks.Progress("a.txt", 1, 4));
    answers.push_back(callbacks.Progress("b.txt", 4, 4));
  };
  std::string error;
  ASSERT_TRUE(SevenZipExtractArchive(library, Extraction(), error));
  EXPECT_EQ(answers, std::vector<bool>({true, true, true, true})) << "without a callback nothing stops";

  answers.clear();
  std::vector<std::string> seen;
  TArchiveExtraction extraction = Extraction();
  extraction.progressCallback = [&](const std::string& item, uint64_t done, uint64_t total) {
    seen.push_back(item + " " + std::to_string(done) + "/" + std::to_string(total));
    return done < total;
  };
  ASSERT_TRUE(SevenZipExtractArchive(library, extraction, error));
  EXPECT_EQ(answers, std::vector<bool>({true, true, true, false}));
  EXPECT_EQ(seen, std::vector<std::string>({"a.txt 1/4", "b.txt 4/4"})) << "listing reports no progress";
}

}  // namespace
}  // namespace corvane
