// A web media block's archive through TExtractMedia, kel.dll and the real
// file system, under Wine.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/extraction_workers.h"
#include "platform/media/kel_archive_library.h"
#include "platform/media/windows_media_files.h"
#include "platform/media/tests/content_files.h"
#include "tests/support/fixture_paths.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;
using corvane::test::FixturePath;

using corvane::test::ContentText;
using corvane::test::ReadFileText;

TEST(ExtractMediaOnWindows, PlacesTheBlockInTheDataFolder) {
  TWindowsMediaFiles files;
  const fs::path root = fs::path(files.TemporaryFolder()) / "extract-media-test";
  fs::remove_all(root);
  fs::create_directories(root);
  const fs::path archive = root / "media_block.7z";
  fs::copy_file(FixturePath("media_block.7z"), archive);
  // Left over from an earlier run: replaced.
  fs::create_directories(root / "data" / "media_block");
  std::ofstream(root / "data" / "media_block" / "readme.txt") << "old";

  TMediaArchive media;
  media.archivePath = archive.string();
  media.dataFolder = (root / "data").string() + "\\";
  media.mediaFileMap = {"media_block", "Plugins\\x86\\deep.txt", "bin\\",  //
                        "MEDIA_BLOCK", "Plugins\\x86\\deep.txt", "also\\deeper"};
  TKelArchiveLibrary library;
  TExtractionJob job(MediaExtractionRequest(media, files), nullptr, "% complete");
  int wakes = 0;
  TExtractMedia(job, media, library, files, [&] { ++wakes; }).Execute();

  ASSERT_TRUE(job.Succeeded()) << job.ErrorText();
  EXPECT_EQ(wakes, 1);
  EXPECT_EQ(ReadFileText(root / "data" / "bin" / "deep.txt"), ContentText("Plugins/x86/deep.txt"));
  EXPECT_EQ(ReadFileText(root / "data" / "also" / "deeper" / "deep.txt"), ContentText("Plugins/x86/deep.txt"));
  EXPECT_EQ(ReadFileText(root / "data" / "media_block" / "readme.txt"), ContentText("readme.txt"));
  EXPECT_EQ(ReadFileText(root / "data" / "media_block" / "Plugins" / "helper.txt"), ContentText("Plugins/helper.txt"));
  EXPECT_FALSE(fs::exists(root / "data" / "media_block" / "Plugins" / "x86" / "deep.txt")) << "moved, not copied";
  EXPECT_FALSE(fs::exists(fs::path(files.TemporaryFolder()) / "media_block"));
  EXPECT_FALSE(fs::exists(archive));
  fs::remove_all(root);
}

}  // namespace
}  // namespace corvane
