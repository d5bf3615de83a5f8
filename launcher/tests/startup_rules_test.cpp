#include <gtest/gtest.h>

#include <set>

#include "launcher/file_version.h"
#include "launcher/preparation_layout.h"
#include "launcher/work_folder.h"

namespace corvane {
namespace {

TEST(CommonControls, OnlyVersionFourBeforeSeventyTwoIsTooOld) {
  struct Case {
    std::optional<TFileVersion> version;
    bool tooOld;
  } cases[] = {
      {TFileVersion{4, 71, 0, 0}, true},  {TFileVersion{4, 0, 0, 0}, true},
      {TFileVersion{4, 72, 0, 0}, false}, {TFileVersion{5, 81, 0, 0}, false},
      {TFileVersion{6, 0, 0, 0}, false},  {TFileVersion{3, 10, 0, 0}, false},
      {std::nullopt, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(CommonControlsTooOld(c.version), c.tooOld) << (c.version ? c.version->Text() : "none");
}

TEST(FileVersion, TextJoinsFourParts) { EXPECT_EQ((TFileVersion{1, 2, 30, 4000}).Text(), "1.2.30.4000"); }

TEST(PreparationLayout, BesideTheSplashAndKeptOnScreen) {
  const TSize window{385, 128}, screen{1024, 768};
  // A small splash: right of its middle and 25 below it.
  EXPECT_EQ(PlaceBesideSplash({412, 334, 200, 100}, window, screen).left, 412 + 100 + 50);
  EXPECT_EQ(PlaceBesideSplash({412, 334, 200, 100}, window, screen).top, 334 + 100 + 25);
  // A splash wider and taller than the screen's free part: pulled back.
  TRect placed = PlaceBesideSplash({300, -50, 1000, 800}, window, screen);
  EXPECT_EQ(placed.left, 1024 - 385 - 25);
  EXPECT_EQ(placed.top, 768 - 128 - 45);
  EXPECT_EQ(CentredOnScreen(window, screen).left, (1024 - 385) / 2);
}

TEST(WorkFolder, TakesTheFirstFreeNumber) {
  std::set<std::string> existing{"C:\\T\\kel1\\", "C:\\T\\kel2\\"};
  auto create = [&](const std::string& folder) {
    return existing.insert(folder).second ? TFolderCreation::Created : TFolderCreation::AlreadyExists;
  };
  EXPECT_EQ(ClaimWorkFolder("C:\\T\\", create), "C:\\T\\kel3\\");
  // A second setup starting at the same moment gets the next one.
  EXPECT_EQ(ClaimWorkFolder("C:\\T\\", create), "C:\\T\\kel4\\");
}

TEST(WorkFolder, StopsWhenCreationFails) {
  EXPECT_EQ(ClaimWorkFolder("C:\\T\\", [](const std::string&) { return TFolderCreation::Failed; }), std::nullopt);
}

}  // namespace
}  // namespace corvane
