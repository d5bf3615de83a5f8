#include "actions/path_text.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "script/text_rules.h"

namespace corvane {
namespace {

struct TExtractCase {
  std::string path;
  std::vector<std::string> parts;  // codes 0 to 6
};

class ExtractPathTest : public ::testing::TestWithParam<TExtractCase> {};

TEST_P(ExtractPathTest, GivesEachPart) {
  const TExtractCase& c = GetParam();
  for (int code = 0; code <= 6; ++code) {
    EXPECT_EQ(ExtractPathPart(c.path, code), c.parts[static_cast<std::size_t>(code)])
        << "'" << c.path << "' code " << code;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExtractPathTest,
    ::testing::Values(
        TExtractCase{"C:\\dir\\file.tar.gz",
                     {"file.tar.gz", "file.tar", "gz", "C:\\dir\\", "C:\\", "C:\\", "C:\\dir\\file.tar.gz"}},
        TExtractCase{"C:\\file", {"file", "file", "", "C:\\", "C:\\", "C:\\", "C:\\file"}},
        TExtractCase{"C:\\dir.d\\file", {"file", "file", "", "C:\\dir.d\\", "C:\\", "C:\\", "C:\\dir.d\\file"}},
        TExtractCase{"C:\\dir\\", {"", "", "", "C:\\dir\\", "C:\\", "C:\\", "C:\\dir\\"}},
        TExtractCase{"C:file.txt", {"file.txt", "file", "txt", "C:\\", "C:\\", "C:\\", "C:file.txt"}},
        TExtractCase{"\\\\host\\share\\dir\\a.txt",
                     {"a.txt", "a", "txt", "\\\\host\\share\\dir\\", "\\\\host\\share\\", "\\\\host\\share\\",
                      "\\host\\share\\dir\\a.txt"}},
        TExtractCase{"\\\\host\\share", {"share", "share", "", "\\\\host\\", "\\\\", "\\\\host\\share\\", "\\host\\share"}},
        TExtractCase{"file.", {"file.", "file", "", "", "", "", "file."}},
        TExtractCase{".profile", {".profile", "", "profile", "", "", "", ".profile"}},
        TExtractCase{"a\\\\\\b", {"b", "b", "", "a\\\\\\", "a\\\\", "", "a\\\\b"}},
        TExtractCase{"", {"", "", "", "", "", "", ""}}));

TEST(ExtractPathTest, OtherCodesLeaveThePath) {
  EXPECT_EQ(ExtractPathPart("C:\\dir\\file", 7), "C:\\dir\\file");
  EXPECT_EQ(ExtractPathPart("C:\\dir\\file", -1), "C:\\dir\\file");
}

// A disk whose entries are spelled in mixed case; lookups ignore case.
class LongPathFormTest : public ::testing::Test {
protected:
  std::string Long(std::string_view path) {
    return LongPathForm(path, [this](const std::string& entry) -> std::optional<std::string> {
      looked.push_back(entry);
      const auto found = disk.find(UpperCase(entry));
      return found == disk.end() ? std::nullopt : std::optional<std::string>(found->second);
    });
  }

  std::map<std::string, std::string> disk = {
      {"C:\\PROGRA~1", "Program Files"},
      {"C:\\PROGRA~1\\MYAPP~1", "My Application"},
      {"C:\\PROGRA~1\\MYAPP~1\\README.TXT", "ReadMe.txt"},
      {"\\\\HOST\\SHARE\\DOCS", "Docs"},
      {"\\TOP", "Top"},
      {"REL", "Rel"},
      {"REL\\SUB", "Sub"},
      {"C:REL", "Rel"},
      {"C:\\*", "Program Files"},
  };
  std::vector<std::string> looked;
};

TEST_F(LongPathFormTest, SpellsEveryComponentAsOnDisk) {
  EXPECT_EQ(Long("C:\\progra~1\\myapp~1\\readme.txt"), "C:\\Program Files\\My Application\\ReadMe.txt");
  EXPECT_EQ(looked, (std::vector<std::string>{"C:\\progra~1", "C:\\progra~1\\myapp~1",
                                              "C:\\progra~1\\myapp~1\\readme.txt"}));
  EXPECT_EQ(Long("c:\\PROGRA~1\\"), "c:\\Program Files");
}

TEST_F(LongPathFormTest, KeepsRootsAsWritten) {
  EXPECT_EQ(Long("C:"), "C:");
  EXPECT_EQ(Long("C:\\"), "C:");
  EXPECT_EQ(Long("\\\\host\\share"), "\\\\host\\share");
  EXPECT_EQ(Long("\\\\host\\share\\docs"), "\\\\host\\share\\Docs");
  EXPECT_EQ(Long("\\top"), "\\Top");
  EXPECT_EQ(Long(""), "");
  EXPECT_EQ(looked.size(), 2u);
}

TEST_F(LongPathFormTest, KeepsRelativePathsRelative) {
  EXPECT_EQ(Long("rel\\sub"), "Rel\\Sub");
  EXPECT_EQ(Long("c:rel"), "c:Rel");
}

TEST_F(LongPathFormTest, MissingComponentGivesEmptyText) {
  EXPECT_EQ(Long("C:\\progra~1\\nothing"), "");
  EXPECT_EQ(Long("C:\\nothing\\myapp~1"), "");
  // Wildcards name no entry, even where the system would match one.
  EXPECT_EQ(Long("C:\\*"), "");
  EXPECT_EQ(Long("C:\\progra~?\\myapp~1"), "");
}

}  // namespace
}  // namespace corvane
