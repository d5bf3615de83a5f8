#include "platform/actions/windows_system_queries.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "actions/path_text.h"
#include "tests/support/fixture_paths.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

class WindowsSystemQueriesTest : public ::testing::Test {
protected:
  void SetUp() override {
    scratch = fs::temp_directory_path() / ("corvane-actions-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(scratch);
    fs::create_directories(scratch);
  }
  void TearDown() override { fs::remove_all(scratch); }

  std::string Scratch(const std::string& relative = "") const {
    return relative.empty() ? scratch.string() : (scratch / relative).string();
  }
  std::string MakeFile(const std::string& relative, const std::string& content = "") const {
    const fs::path path = scratch / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  std::string LongForm(const std::string& path) const {
    return LongPathForm(path, [this](const std::string& entry) { return system.EntryName(entry); });
  }

  TWindowsSystemQueries system;
  fs::path scratch;
};

TEST_F(WindowsSystemQueriesTest, ReadsTheFixedFileVersion) {
  const std::optional<TFileVersion> version = system.FileVersion(test::WinePathOf(CORVANE_VERSION_FIXTURE));
  ASSERT_TRUE(version.has_value());
  EXPECT_EQ(version->Text(), "1.20.300.40000");
}

TEST_F(WindowsSystemQueriesTest, FilesWithoutVersionResourceHaveNone) {
  EXPECT_FALSE(system.FileVersion(test::WinePathOf(CORVANE_TEST_EXE)).has_value());
  EXPECT_FALSE(system.FileVersion(MakeFile("plain.txt", "not a program")).has_value());
  EXPECT_FALSE(system.FileVersion(Scratch("missing.dll")).has_value());
  EXPECT_FALSE(system.FileVersion("").has_value());
}

TEST_F(WindowsSystemQueriesTest, ShortAndLongFormsOfAPath) {
  const std::string full = MakeFile("Long Folder Name\\Some Long File Name.text");
  const std::string shortForm = system.ShortPath(full);
  ASSERT_FALSE(shortForm.empty());
  for (const std::string_view name : {FileNamePart(shortForm), FileNamePart(WithoutTrailingBackslash(FolderPart(shortForm)))}) {
    EXPECT_LE(name.size(), 12u) << shortForm;
    EXPECT_EQ(name.find(' '), std::string_view::npos) << shortForm;
  }

  // The drive stays as written; every other component is looked up.
  const std::string_view drive = DrivePart(shortForm);
  const std::string longForm = LongForm(std::string(drive) + system.Lower(shortForm.substr(drive.size())));
  EXPECT_EQ(longForm, LongForm(full));
  EXPECT_TRUE(longForm.ends_with("\\Long Folder Name\\Some Long File Name.text")) << longForm;

  EXPECT_EQ(system.ShortPath(Scratch("missing\\file.txt")), "");
  EXPECT_EQ(LongForm(Scratch("Long Folder Name\\missing.txt")), "");
}

TEST_F(WindowsSystemQueriesTest, EntryNameIsSpelledAsOnDisk) {
  MakeFile("MixedCase.Txt");
  EXPECT_EQ(system.EntryName(Scratch("mixedcase.txt")), "MixedCase.Txt");
  EXPECT_EQ(system.EntryName(Scratch("missing.txt")), std::nullopt);
  EXPECT_EQ(system.EntryName(""), std::nullopt);
}

TEST_F(WindowsSystemQueriesTest, ExpandsEnvironmentVariables) {
  const std::string longValue(30000, 'v');
  ASSERT_TRUE(SetEnvironmentVariableA("CORVANE_TEST_VALUE", "a b"));
  ASSERT_TRUE(SetEnvironmentVariableA("CORVANE_TEST_LONG", longValue.c_str()));
  EXPECT_EQ(system.ExpandEnvironment("%CORVANE_TEST_VALUE%"), "a b");
  EXPECT_EQ(system.ExpandEnvironment("%corvane_test_value%"), "a b");
  EXPECT_EQ(system.ExpandEnvironment("%CORVANE_TEST_LONG%"), longValue);
  EXPECT_EQ(system.ExpandEnvironment("%CORVANE_NOT_SET%"), "%CORVANE_NOT_SET%");
  SetEnvironmentVariableA("CORVANE_TEST_VALUE", nullptr);
  SetEnvironmentVariableA("CORVANE_TEST_LONG", nullptr);
}

TEST_F(WindowsSystemQueriesTest, TemporaryFolderEndsInABackslash) {
  const std::string folder = system.TemporaryFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(folder.ends_with('\\')) << folder;
  EXPECT_TRUE(fs::is_directory(folder)) << folder;
}

TEST_F(WindowsSystemQueriesTest, CreatesUniqueEmptyTemporaryFiles) {
  const std::string folder = Scratch() + "\\";
  const std::optional<std::string> first = system.CreateTemporaryFile(folder, "kel");
  const std::optional<std::string> second = system.CreateTemporaryFile(folder, "kel");
  ASSERT_TRUE(first && second);
  EXPECT_NE(*first, *second);
  for (const std::string& path : {*first, *second}) {
    EXPECT_TRUE(path.starts_with(folder)) << path;
    EXPECT_TRUE(std::regex_match(ExtractPathPart(path, 0), std::regex("kel[0-9A-F]+\\.tmp", std::regex::icase)))
        << path;
    EXPECT_TRUE(fs::exists(path)) << path;
    EXPECT_EQ(fs::file_size(path), 0u) << path;
  }
  EXPECT_EQ(system.CreateTemporaryFile(Scratch("missing") + "\\", "kel"), std::nullopt);
}

TEST_F(WindowsSystemQueriesTest, MapsLetterCaseLikeTheSystem) {
  EXPECT_EQ(system.Upper("abc XYZ 1\\"), "ABC XYZ 1\\");
  EXPECT_EQ(system.Lower("ABC xyz 1\\"), "abc xyz 1\\");
  EXPECT_EQ(system.Upper(""), "");
  if (GetACP() == 1252) {
    EXPECT_EQ(system.Upper("\xe9t\xe9"), "\xc9T\xc9");
    EXPECT_EQ(system.Lower("\xc9T\xc9"), "\xe9t\xe9");
  }
}

}  // namespace
}  // namespace corvane
