// The extraction workers and the tree move over an in-memory file system.
#include "media/extraction_workers.h"

#include <gtest/gtest.h>

#include "media/tests/fake_archive_library.h"
#include "media/tests/fake_media.h"

namespace corvane {
namespace {

using testing::TFakeFiles;
using testing::TFakeLibrary;

using TFileMap = std::map<std::string, std::string>;

TEST(MoveFolderTreeTest, MovesEveryFileReplacingTargetsAndRemovesTheSource) {
  TFakeFiles files;
  files.files = {{"C:\\Temp\\B\\a.txt", "a"}, {"C:\\Temp\\B\\x\\y\\b.txt", "b"}, {"C:\\Data\\B\\a.txt", "old"},
                 {"C:\\Temp\\other.txt", "o"}};
  ASSERT_TRUE(MoveFolderTree(files, "C:\\Temp\\B", "C:\\Data\\B\\"));
  EXPECT_EQ(files.files, (TFileMap{{"C:\\Data\\B\\a.txt", "a"}, {"C:\\Data\\B\\x\\y\\b.txt", "b"},
                                   {"C:\\Temp\\other.txt", "o"}}));
  EXPECT_TRUE(files.folders.count("C:\\Data\\B\\x\\y"));

  // The first file that cannot be moved ends it; the source stays.
  files.files = {{"C:\\Temp\\B\\a.txt", "a"}, {"C:\\Temp\\B\\b.txt", "b"}};
  files.failingMoves = {"C:\\Temp\\B\\a.txt"};
  EXPECT_FALSE(MoveFolderTree(files, "C:\\Temp\\B\\", "C:\\Data\\B\\"));
  EXPECT_EQ(files.files.count("C:\\Temp\\B\\a.txt"), 1u);
}

TEST(MediaBlockNameTest, IsTheArchivesFileNameWithoutItsExtension) {
  EXPECT_EQ(MediaBlockName("C:\\Temp\\OFFLINE.7z"), "OFFLINE");
  EXPECT_EQ(MediaBlockName("C:\\a.b\\Disk1.part.7z"), "Disk1.part");
  EXPECT_EQ(MediaBlockName("Block"), "Block");
}

class ExtractMediaTest : public ::testing::Test {
protected:
  ExtractMediaTest() {
    archive.archivePath = "C:\\Downloads\\Disk1.7z";
    archive.dataFolder = "C:\\Setup\\data";
    archive.archiveKey = "KEY";
    archive.mediaFileMap = {"Disk1", "bin\\tool.exe", "A",  //
                            "OTHER", "bin\\tool.exe", "X",  //
                            "disk1", "bin\\tool.exe", "B\\C\\"};
    files.files[archive.archivePath] = "7z";
    // The library writes the archive's items below the temporary folder.
    library.duringCall = [this](TArchiveCallbacks& callbacks) {
      callbacks.Progress("Disk1\\bin\\tool.exe", 1, 2);
      files.files["C:\\Temp\\Disk1\\bin\\tool.exe"] = "tool";
      files.files["C:\\Temp\\Disk1\\readme.txt"] = "readme";
    };
  }

  bool Run() {
    applicationWakes = 0;
    TExtractionJob job(MediaExtractionRequest(archive, files), [this] { ++wakes; }, "% complete");
    TExtractMedia(job, archive, library, files, [this] { ++applicationWakes; }).Execute();
    EXPECT_TRUE(job.Done());
    EXPECT_EQ(applicationWakes, 1);
    request = job.Request();
    error = job.ErrorText();
    return job.Succeeded();
  }

  TMediaArchive archive;
  TFakeFiles files;
  TFakeLibrary library;
  TExtractionRequest request;
  std::string error;
  int wakes = 0;
  int applicationWakes = 0;
};

TEST_F(ExtractMediaTest, PlacesMappedItemsInEveryDestinationAndMovesTheRest) {
  files.files["C:\\Setup\\data\\A\\tool.exe"] = "older";
  ASSERT_TRUE(Run()) << error;
  EXPECT_EQ(request.destination, "C:\\Temp\\");
  EXPECT_EQ(request.password, "KEY");
  EXPECT_TRUE(request.overwriteAnswer);
  EXPECT_TRUE(request.folderFlag);
  EXPECT_EQ(library.extractPassword, "KEY");
  EXPECT_EQ(files.files, (TFileMap{{"C:\\Setup\\data\\A\\tool.exe", "tool"},
                                   {"C:\\Setup\\data\\B\\C\\tool.exe", "tool"},
                                   {"C:\\Setup\\data\\Disk1\\readme.txt", "readme"}}));
  EXPECT_TRUE(files.folders.count("C:\\Setup\\data"));
  EXPECT_GE(wakes, 2) << "progress and the end";
}

TEST_F(ExtractMediaTest, KeepsTheArchiveWhenAsked) {
  archive.keepArchive = true;
  ASSERT_TRUE(Run()) << error;
  EXPECT_EQ(files.files.count(archive.archivePath), 1u);
}

TEST_F(ExtractMediaTest, FailsWhenExtractionOrAMoveFails) {
  library.extractResult = false;
  library.lastError = 1007;
  EXPECT_FALSE(Run());
  EXPECT_EQ(error, "#1007");
  EXPECT_EQ(files.files.count(archive.archivePath), 1u) << "a failed archive stays for the retry";

  library.extractResult = true;
  files.failingMoves = {"C:\\Temp\\Disk1\\bin\\tool.exe"};
  EXPECT_FALSE(Run());
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(files.files.count("C:\\Temp\\Disk1\\readme.txt"), 1u) << "no clean-up after a failed move";
}

TEST(DirectExtractMediaTest, MakesTheDestinationAndReportsTheResult) {
  TFakeFiles files;
  TFakeLibrary library;
  library.entries = testing::EntriesNamed({"a.txt"});
  int applicationWakes = 0;
  TExtractionJob job({"C:\\a.7z", "C:\\out\\deep", "pw", false, false}, nullptr, "% complete");
  TDirectExtractMedia(job, library, files, [&] { ++applicationWakes; }).Execute();
  EXPECT_TRUE(job.Done());
  EXPECT_TRUE(job.Succeeded());
  EXPECT_TRUE(files.folders.count("C:\\out\\deep"));
  EXPECT_EQ(library.selection, std::vector<std::string>({"a.txt"}));
  EXPECT_EQ(library.folders, kArchiveFlatFolders);
  EXPECT_EQ(applicationWakes, 1);
}

}  // namespace
}  // namespace corvane
