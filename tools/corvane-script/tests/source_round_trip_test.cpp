#include "tools/corvane-script/source_compiler.h"
#include "tools/corvane-script/source_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvane::authoring {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kA = "{AAAAAAAA-AAAA-AAAA-AAAA-AAAAAAAAAAAA}";
constexpr const char* kB = "{BBBBBBBB-BBBB-BBBB-BBBB-BBBBBBBBBBBB}";
constexpr const char* kC = "{CCCCCCCC-CCCC-CCCC-CCCC-CCCCCCCCCCCC}";

TContainerSections ThreeCommands() {
  TContainerSections s;
  s.commandNames = {"Set Variable", "Install Files", "End"};
  s.commandGuids = {kA, kB, kC};
  s.parameterBlocks = {kA, "TARGETDIR", "$PROGRAMFILES$\\Sample", "", kB, "$TARGETDIR$"};
  s.disabledMarks = {"", "C", ""};
  s.mediaFolders = {"", "OFFLINE\\", ""};
  s.productCode = "{11111111-0000-0000-0000-000000000000}";
  s.title = "Sample";
  s.pluginCommands = {"Sample Plug-in"};
  s.support = {"Maker", "", "http://example.com", "", "Thanks"};
  s.mediaLayout = 3;
  s.componentSizes = {"ZOLT-PREDEF-COMPONENT", "1984470", "Docs", "12"};
  s.revisionCode = "{22222222-0000-0000-0000-000000000000}";
  s.mediaFileMap = {"OFFLINE", "bin\\a.exe", "OFFLINE\\H0\\"};
  s.languagePrompt = true;
  s.defaultLanguage = "English";
  s.headerTable = {"H1234567890123456789012345678900", "1"};
  return s;
}

struct TRoundTripCase {
  const char* what;
  TContainerSections sections;
  std::vector<std::string> verbatimKeys;  // keys the dump must fall back to
};

std::vector<TRoundTripCase> RoundTripCases() {
  std::vector<TRoundTripCase> cases;
  cases.push_back({"script order", ThreeCommands(), {}});

  cases.push_back({"blocks grouped by kind", ThreeCommands(), {"block-order:"}});
  cases.back().sections.parameterBlocks = {kB, "$TARGETDIR$", kA, "TARGETDIR", "x", ""};

  cases.push_back({"a GUID as a parameter line of an earlier block", ThreeCommands(), {"block-order:"}});
  cases.back().sections.parameterBlocks = {kA, kC, "text", kB, "y"};

  cases.push_back({"a GUID line repeated inside another block", ThreeCommands(), {}});
  cases.back().sections.parameterBlocks = {kA, "1", kB, kA, "2"};

  cases.push_back({"an empty block and a block at the very end", ThreeCommands(), {}});
  cases.back().sections.parameterBlocks = {kA, kB, "z", kC};

  cases.push_back({"lines before the first block", ThreeCommands(), {"parameter-blocks:"}});
  cases.back().sections.parameterBlocks = {"orphan", kA, "1"};

  cases.push_back({"blocks of unknown GUIDs only", ThreeCommands(), {"parameter-blocks:"}});
  cases.back().sections.parameterBlocks = {"{DDDDDDDD-DDDD-DDDD-DDDD-DDDDDDDDDDDD}", "1"};

  cases.push_back({"headers out of script order", ThreeCommands(), {"command-headers:"}});
  cases.back().sections.headerTable = {"H2", "2", "H0", "0"};

  cases.push_back({"a header table of odd length", ThreeCommands(), {"command-headers:"}});
  cases.back().sections.headerTable = {"H0", "0", "H1"};

  cases.push_back({"a header index that is not canonical", ThreeCommands(), {"command-headers:"}});
  cases.back().sections.headerTable = {"H0", "00"};

  cases.push_back({"a header index past the script", ThreeCommands(), {"command-headers:"}});
  cases.back().sections.headerTable = {"H0", "3"};

  cases.push_back({"headers on every command, one empty", ThreeCommands(), {}});
  cases.back().sections.headerTable = {"H0", "0", "", "1", "H2", "2"};

  cases.push_back({"a short GUID list", ThreeCommands(), {"command-names:", "command-guids:", "parameter-blocks:", "command-headers:"}});
  cases.back().sections.commandGuids.pop_back();

  cases.push_back({"no media folders at all", ThreeCommands(), {"command-names:", "disabled-marks:", "parameter-blocks:", "command-headers:"}});
  cases.back().sections.mediaFolders.clear();

  cases.push_back({"a repeated GUID", ThreeCommands(),
                   {"command-names:", "command-guids:", "parameter-blocks:", "command-headers:"}});
  cases.back().sections.commandGuids[2] = kA;

  cases.push_back({"texts the plain form cannot carry", ThreeCommands(), {}});
  {
    TContainerSections& s = cases.back().sections;
    s.commandNames = {"|pipe [bracket] {brace}", " padded ", "#hash"};
    s.commandGuids = {"lower {a}", "", kC};
    s.parameterBlocks = {"lower {a}", "", " lead", "trail\t", "#x", "|", "a||b", "ends in CR\r", "$\r", "\v"};
    s.disabledMarks = {"X", "", "c"};
    s.mediaFolders = {"with space\\", "]", "|x"};
    s.headerTable = {"has ] and space", "0", "", "2"};
    s.title = " padded title ";
    s.support.comments = "#not a comment";
    s.pluginCommands = {"", "|"};
    s.defaultLanguage = "";
    s.productCode = "";
    s.mediaLayout = -7;
    s.languagePrompt = false;
  }

  cases.push_back({"an empty script", TContainerSections{}, {}});
  return cases;
}

TEST(SourceRoundTrip, DumpCompilesBackToTheSameContainer) {
  for (const TRoundTripCase& c : RoundTripCases()) {
    const std::string expected = TScriptContainer(c.sections).Serialize();
    const std::string source = WriteSource(c.sections);
    std::string compiled;
    try {
      compiled = TScriptContainer(CompileSource(source, "dumped.cvscript")).Serialize();
    } catch (const TSourceError& error) {
      ADD_FAILURE() << c.what << ": " << error.what() << "\n" << source;
      continue;
    }
    EXPECT_EQ(compiled, expected) << c.what << "\n" << source;
    const bool structured = c.verbatimKeys.empty() || c.verbatimKeys.front() != "command-names:";
    EXPECT_EQ(source.find("\nscript:\n") != std::string::npos, structured) << c.what << "\n" << source;
    for (const char* key : {"block-order:", "parameter-blocks:", "command-headers:", "command-names:"}) {
      const bool expectedKey = std::ranges::find(c.verbatimKeys, key) != c.verbatimKeys.end();
      if (!expectedKey) {
        EXPECT_THAT(source, Not(HasSubstr("\n" + std::string(key) + "\n"))) << c.what;
      }
    }
    for (const std::string& key : c.verbatimKeys) {
      EXPECT_THAT(source, HasSubstr("\n" + key + "\n")) << c.what << "\n" << source;
    }
  }
}

TEST(SourceRoundTrip, DumpOfAStructuredScriptReadsAsWritten) {
  const std::string source = WriteSource(ThreeCommands());
  EXPECT_THAT(source, HasSubstr("\nscript:\n"
                                "  Set Variable {AAAAAAAA-AAAA-AAAA-AAAA-AAAAAAAAAAAA}\n"
                                "    TARGETDIR\n"
                                "    $PROGRAMFILES$\\Sample\n"
                                "    ||\n"
                                "  Install Files [disabled header=H1234567890123456789012345678900 media=OFFLINE\\] "
                                "{BBBBBBBB-BBBB-BBBB-BBBB-BBBBBBBBBBBB}\n"
                                "    $TARGETDIR$\n"
                                "  End {CCCCCCCC-CCCC-CCCC-CCCC-CCCCCCCCCCCC}\n"));
  EXPECT_THAT(source, HasSubstr("\ncomponent-sizes:\n  ZOLT-PREDEF-COMPONENT\n  1984470\n\n  Docs\n  12\n"));
}

// Containers made of few, awkward characters, so that texts collide with
// GUIDs, "$", markers and each other.
class TRandomContainers {
public:
  explicit TRandomContainers(std::uint64_t seed) : state_(seed) {}

  TContainerSections Next() {
    TContainerSections s;
    const std::size_t commands = Below(6);
    const bool parallel = Below(5) != 0;
    for (std::size_t i = 0; i < commands; ++i) {
      s.commandNames.push_back(Text());
      s.commandGuids.push_back(Below(3) == 0 ? Text() : kGuids[Below(std::size(kGuids))]);
      s.disabledMarks.push_back(Below(3) == 0 ? "C" : Text());
      s.mediaFolders.push_back(Text());
    }
    if (!parallel && commands > 0) {
      s.mediaFolders.pop_back();
    }
    s.parameterBlocks = Lines(12, true);
    s.headerTable = Lines(6, true);
    s.pluginCommands = Lines(3, false);
    s.componentSizes = Lines(4, false);
    s.mediaFileMap = Lines(3, false);
    s.productCode = Text();
    s.title = Text();
    s.support = {Text(), Text(), Text(), Text(), Text()};
    s.mediaLayout = static_cast<int>(Below(7)) - 3;
    s.revisionCode = Text();
    s.languagePrompt = Below(2) == 0;
    s.defaultLanguage = Text();
    return s;
  }

private:
  static constexpr const char* kGuids[] = {kA, kB, kC};

  std::size_t Below(std::size_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::size_t>((state_ >> 33) % n);
  }

  std::string Text() {
    static constexpr std::string_view kPieces[] = {"", " ", "\t", "\r", "|", "||", "#", "[", "]", "{", "}",
                                                   "=", "$", "C", "0", "1", "a", "Set Variable", "\xE9",
                                                   "header=", "{AAAAAAAA-AAAA-AAAA-AAAA-AAAAAAAAAAAA}"};
    std::string text;
    for (std::size_t n = Below(4); n > 0; --n) {
      text += kPieces[Below(std::size(kPieces))];
    }
    return text == "$" ? "$$" : text;
  }

  std::vector<std::string> Lines(std::size_t most, bool indexesAndGuids) {
    std::vector<std::string> lines;
    for (std::size_t n = Below(most + 1); n > 0; --n) {
      const std::size_t kind = indexesAndGuids ? Below(4) : 0;
      lines.push_back(kind == 1 ? std::string(kGuids[Below(std::size(kGuids))])
                      : kind == 2 ? std::to_string(Below(6))
                                  : Text());
    }
    return lines;
  }

  std::uint64_t state_;
};

TEST(SourceRoundTrip, RandomContainersCompileBackToTheSameBytes) {
  TRandomContainers random(20240611);
  for (int i = 0; i < 2000; ++i) {
    const TContainerSections sections = random.Next();
    const std::string expected = TScriptContainer(sections).Serialize();
    const std::string source = WriteSource(sections);
    try {
      ASSERT_EQ(TScriptContainer(CompileSource(source, "random.cvscript")).Serialize(), expected)
          << "case " << i << "\n" << source;
    } catch (const TSourceError& error) {
      FAIL() << "case " << i << ": " << error.what() << "\n" << source;
    }
  }
}

}  // namespace
}  // namespace corvane::authoring
