#include "tools/corvane-script/source_compiler.h"
#include "tools/corvane-script/source_format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace corvane::authoring {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kDialogGuid = "{BCE775E9-14F6-44FC-B1F2-BC1D4C313260}";
constexpr const char* kHeader = "F2A8C3D4E5F60718293A4B5C6D7E8F0";

TContainerSections Compile(const std::string& text, const std::string& name = "setup.cvscript") {
  return CompileSource(text, name);
}

TEST(SourceCompile, FillsEverySectionFromKeysListsAndTheScript) {
  const TContainerSections s = Compile(
      "# comment\n"
      "product-code: {AAAAAAAA-0000-0000-0000-000000000000}\n"
      "revision-code: {BBBBBBBB-0000-0000-0000-000000000000}\n"
      "title:   Sample Product  \n"
      "publisher: Sample Maker\n"
      "contact: support@example.com\n"
      "help-link: http://example.com/help\n"
      "update-info-link: http://example.com/update\n"
      "comments:\n"
      "media-layout: 2\n"
      "language-prompt: TRUE\n"
      "default-language: German\n"
      "plugins:\n"
      "  Sample Plug-in\n"
      "component-sizes:\n"
      "  ZOLT-PREDEF-COMPONENT\n"
      "  1984470\n"
      "media-files:\n"
      "  OFFLINE\n"
      "  bin\\sample.exe\n"
      "  OFFLINE\\" + std::string(kHeader) + "\\\n"
      "script:\n"
      "  Display Dialog " + kDialogGuid + "\n"
      "    Welcome\n"
      "  End\n"
      "\n"
      "  Install Files [header=" + kHeader + " media=OFFLINE\\ disabled] {11111111-2222-3333-4444-555555555555}\n"
      "    # a comment between parameter lines\n"
      "    $TARGETDIR$\n"
      "    ||\n"
      "      FALSE\n");
  EXPECT_EQ(s.productCode, "{AAAAAAAA-0000-0000-0000-000000000000}");
  EXPECT_EQ(s.revisionCode, "{BBBBBBBB-0000-0000-0000-000000000000}");
  EXPECT_EQ(s.title, "Sample Product");
  EXPECT_EQ(s.support.publisher, "Sample Maker");
  EXPECT_EQ(s.support.contact, "support@example.com");
  EXPECT_EQ(s.support.helpLink, "http://example.com/help");
  EXPECT_EQ(s.support.updateInfoLink, "http://example.com/update");
  EXPECT_EQ(s.support.comments, "");
  EXPECT_EQ(s.mediaLayout, 2);
  EXPECT_TRUE(s.languagePrompt);
  EXPECT_EQ(s.defaultLanguage, "German");
  EXPECT_THAT(s.pluginCommands, ElementsAre("Sample Plug-in"));
  EXPECT_THAT(s.componentSizes, ElementsAre("ZOLT-PREDEF-COMPONENT", "1984470"));
  EXPECT_THAT(s.mediaFileMap, ElementsAre("OFFLINE", "bin\\sample.exe", "OFFLINE\\" + std::string(kHeader) + "\\"));

  EXPECT_THAT(s.commandNames, ElementsAre("Display Dialog", "End", "Install Files"));
  ASSERT_EQ(s.commandGuids.size(), 3u);
  EXPECT_EQ(s.commandGuids[0], kDialogGuid);
  EXPECT_TRUE(IsUpperCaseGuid(s.commandGuids[1])) << s.commandGuids[1];
  EXPECT_EQ(s.commandGuids[2], "{11111111-2222-3333-4444-555555555555}");
  EXPECT_THAT(s.parameterBlocks, ElementsAre(kDialogGuid, "Welcome", "{11111111-2222-3333-4444-555555555555}",
                                             "$TARGETDIR$", "", "FALSE"));
  EXPECT_THAT(s.disabledMarks, ElementsAre("", "", "C"));
  EXPECT_THAT(s.mediaFolders, ElementsAre("", "", "OFFLINE\\"));
  EXPECT_THAT(s.headerTable, ElementsAre(kHeader, "2"));
}

TEST(SourceCompile, LeftOutKeysGetDefaults) {
  const TContainerSections s = Compile("");
  EXPECT_TRUE(s.commandNames.empty());
  EXPECT_TRUE(s.parameterBlocks.empty());
  EXPECT_TRUE(s.headerTable.empty());
  EXPECT_EQ(s.mediaLayout, 0);
  EXPECT_FALSE(s.languagePrompt);
  EXPECT_EQ(s.defaultLanguage, "English");
  EXPECT_TRUE(IsUpperCaseGuid(s.productCode)) << s.productCode;
  EXPECT_TRUE(IsUpperCaseGuid(s.revisionCode)) << s.revisionCode;
  EXPECT_NE(s.productCode, s.revisionCode);
  EXPECT_EQ(Compile("default-language:").defaultLanguage, "");
}

TEST(SourceCompile, ValuesKeepWhatTheDelimitedFormSays) {
  struct Case {
    std::string written;
    std::string value;
  };
  const Case cases[] = {
      {"plain text", "plain text"},
      {"trailing blanks \t ", "trailing blanks"},
      {"||", ""},
      {"|  both sides  |", "  both sides  "},
      {"|a||b|", "a|b"},
      {"||||", "|"},
      {"|#not a comment|", "#not a comment"},
      {"a|b", "a|b"},
      {"|x|   ", "x"},
      {"$NEWLINE$ and \\ stay", "$NEWLINE$ and \\ stay"},
      {"\xE4\xF6\xFC bytes", "\xE4\xF6\xFC bytes"},
      {"|tab\t|", "tab\t"},
  };
  for (const Case& c : cases) {
    const TContainerSections s = Compile("script:\n  Set Variable\n    " + c.written + "\r\n");
    ASSERT_EQ(s.parameterBlocks.size(), 2u) << c.written;
    EXPECT_EQ(s.parameterBlocks[1], c.value) << c.written;
    EXPECT_EQ(Compile("title: " + c.written + "\n").title, c.value) << c.written;
  }
}

TEST(SourceCompile, GeneratedGuidsDependOnFileNamePositionAndContent) {
  const std::string source = "script:\n  Set Variable\n    A\n  Set Variable\n    B\n  End\n";
  const TContainerSections first = Compile(source);
  EXPECT_EQ(Compile(source).commandGuids, first.commandGuids);
  EXPECT_EQ(Compile(source).productCode, first.productCode);
  EXPECT_EQ(Compile(source).revisionCode, first.revisionCode);
  EXPECT_EQ(Compile(source, "elsewhere/setup.cvscript").commandGuids, first.commandGuids);

  const std::set<std::string> distinct(first.commandGuids.begin(), first.commandGuids.end());
  EXPECT_EQ(distinct.size(), 3u);
  for (const std::string& guid : first.commandGuids) {
    EXPECT_TRUE(IsUpperCaseGuid(guid)) << guid;
  }

  const TContainerSections edited = Compile("script:\n  Set Variable\n    A\n  Set Variable\n    C\n  End\n");
  EXPECT_EQ(edited.commandGuids[0], first.commandGuids[0]);
  EXPECT_NE(edited.commandGuids[1], first.commandGuids[1]);
  EXPECT_EQ(edited.commandGuids[2], first.commandGuids[2]);
  EXPECT_EQ(edited.productCode, first.productCode);     // same file, same title
  EXPECT_NE(edited.revisionCode, first.revisionCode);   // another revision

  const TContainerSections renamed = Compile(source, "other.cvscript");
  EXPECT_NE(renamed.commandGuids[0], first.commandGuids[0]);
  EXPECT_NE(renamed.productCode, first.productCode);
}

TEST(SourceCompile, AGuidAsAParameterLineAfterThatCommandsBlockIsFine) {
  const std::string guid = "{11111111-1111-1111-1111-111111111111}";
  const TContainerSections s =
      Compile("script:\n  If " + guid + "\n    x\n  Comment\n    " + guid + "\n");
  EXPECT_EQ(TScriptContainer(s).Parameter(guid, 1), "x");
}

TEST(SourceCompile, BlockOrderAndVerbatimListsGiveTheSectionsAsWritten) {
  const TContainerSections ordered = Compile(
      "script:\n"
      "  Set Variable {11111111-1111-1111-1111-111111111111}\n    A\n"
      "  Comment [empty-block] {22222222-2222-2222-2222-222222222222}\n"
      "  Set Variable {33333333-3333-3333-3333-333333333333}\n    B\n"
      "block-order:\n"
      "  {33333333-3333-3333-3333-333333333333}\n"
      "  {11111111-1111-1111-1111-111111111111}\n"
      "  {22222222-2222-2222-2222-222222222222}\n");
  EXPECT_THAT(ordered.parameterBlocks,
              ElementsAre("{33333333-3333-3333-3333-333333333333}", "B", "{11111111-1111-1111-1111-111111111111}",
                          "A", "{22222222-2222-2222-2222-222222222222}"));

  const TContainerSections verbatim = Compile(
      "command-names:\n  If\n  End\n"
      "command-guids:\n  {G}\n"
      "disabled-marks:\n  ||\n  ||\n  C\n"
      "media-folders:\n"
      "parameter-blocks:\n  orphan line\n  {G}\n"
      "command-headers:\n  H0\n  7\n  H1\n");
  EXPECT_THAT(verbatim.commandNames, ElementsAre("If", "End"));
  EXPECT_THAT(verbatim.commandGuids, ElementsAre("{G}"));
  EXPECT_THAT(verbatim.disabledMarks, ElementsAre("", "", "C"));
  EXPECT_TRUE(verbatim.mediaFolders.empty());
  EXPECT_THAT(verbatim.parameterBlocks, ElementsAre("orphan line", "{G}"));
  EXPECT_THAT(verbatim.headerTable, ElementsAre("H0", "7", "H1"));
}

TEST(SourceCompile, FaultsNameFileAndLine) {
  const std::string guid = "{11111111-1111-1111-1111-111111111111}";
  struct Case {
    std::string source;
    std::size_t line;
    std::string message;
  };
  const Case cases[] = {
      {"title Sample\n", 1, "expected a key such as \"title:\""},
      {"\n  indented\n", 2, "indented line outside a list"},
      {"bogus: 1\n", 1, "unknown key \"bogus\""},
      {"title: a\n# x\ntitle: b\n", 3, "\"title:\" is given twice (first on line 1)"},
      {"media-layout: two\n", 1, "media-layout must be a decimal integer, found \"two\""},
      {"media-layout: 99999999999\n", 1, "media-layout must be a decimal integer"},
      {"language-prompt: yes\n", 1, "language-prompt must be TRUE or FALSE"},
      {"plugins: Sample\n", 1, "\"plugins:\" takes its items on the indented lines below it"},
      {"plugins:\n  $\n", 2, "\"$\" cannot be stored"},
      {"title: |open\n", 1, "no closing \"|\""},
      {"script:\n    Set Variable\n  End\n", 3, "indented less than the command lines above it"},
      {"script:\n  Set Variable\n    |a| b\n", 3, "unexpected text after the closing \"|\""},
      {"script:\n  Set Variable\n    $\n", 3, "\"$\" cannot be stored"},
      {"script:\n  Set Variable [disabled\n", 2, "no closing \"]\""},
      {"script:\n  Set Variable [bogus]\n", 2, "unknown attribute \"bogus\""},
      {"script:\n  Set Variable [header]\n", 2, "needs a value"},
      {"script:\n  Set Variable [disabled=1]\n", 2, "takes no value"},
      {"script:\n  Set Variable [disabled mark=X]\n", 2, "cannot be combined"},
      {"script:\n  Set Variable [media=a media=b]\n", 2, "\"media\" is given twice"},
      {"script:\n  Set Variable [=x]\n", 2, "unexpected \"=\" in the attributes"},
      {"script:\n  Set Variable [media=$]\n", 2, "\"$\" cannot be stored"},
      {"script:\n  Set Variable {bce775e9-14f6-44fc-b1f2-bc1d4c313260}\n", 2, "not an upper-case braced GUID"},
      {"script:\n  Set Variable " + guid + " extra\n", 2, "not an upper-case braced GUID"},
      {"script:\n  Set Variable [guid=X] " + guid + "\n", 2, "both guid= and a GUID"},
      {"script:\n  [disabled]\n", 2, "starts with the command name"},
      {"script:\n  |Set Variable\n", 2, "no closing \"|\""},
      {"script:\n  |Set| Variable\n", 2, "unexpected \"Variable\""},
      {"script:\n  If " + guid + "\n  End " + guid + "\n", 3, "is already used by the command on line 2"},
      {"script:\n  Comment [empty-block]\n    x\n", 2, "\"empty-block\" on a command that has parameter lines"},
      {"script:\n  End\ncommand-names:\n  End\n", 3, "cannot be used with \"script:\""},
      {"script:\n  Set Variable\n    x\nparameter-blocks:\n  y\n", 2,
       "cannot be combined with \"parameter-blocks:\" (line 4)"},
      {"script:\n  Set Variable [header=H0]\ncommand-headers:\n  H0\n  0\n", 2,
       "cannot be combined with \"command-headers:\" (line 3)"},
      {"block-order:\n  " + guid + "\n", 1, "orders the parameter lines of the commands under \"script:\""},
      {"script:\n  If " + guid + "\n    x\nblock-order:\n  {OTHER}\n", 5, "\"{OTHER}\" is not the GUID"},
      {"script:\n  If " + guid + "\n    x\nblock-order:\n  " + guid + "\n  " + guid + "\n", 6, "or is listed twice"},
      {"script:\n  If " + guid + "\n    x\n  End\n    y\nblock-order:\n  " + guid + "\n", 6,
       "does not list the command on line 4"},
      {"script:\n  Set Variable\n    A\n    " + guid + "\n  If " + guid + "\n    x\n", 4,
       "this line is the GUID of the command on line 5, whose parameters the engine would then read from here"},
      {"script:\n  Set Variable\n    " + guid + "\n  End " + guid + "\n", 3, "the GUID of the command on line 4"},
  };
  for (const Case& c : cases) {
    try {
      Compile(c.source, "dir/faulty.cvscript");
      ADD_FAILURE() << "compiled:\n" << c.source;
    } catch (const TSourceError& error) {
      EXPECT_EQ(error.Line(), c.line) << error.what();
      EXPECT_THAT(error.what(), StartsWith("dir/faulty.cvscript:" + std::to_string(c.line) + ": "));
      EXPECT_THAT(error.what(), HasSubstr(c.message)) << c.source;
    }
  }
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string ExamplePath() {
#ifdef _WIN32
  return std::string("Z:") + CORVANE_SCRIPT_EXAMPLE;
#else
  return CORVANE_SCRIPT_EXAMPLE;
#endif
}

// The example of README.md, kept beside the tests.
TEST(SourceCompile, TheReadmeExampleCompiles) {
  const std::string text = ReadText(ExamplePath());
  ASSERT_FALSE(text.empty());
  const TContainerSections s = Compile(text, "example.cvscript");
  EXPECT_THAT(s.commandNames, ElementsAre("Set Variable", "Display Dialog", "Display Dialog", "Install Files",
                                          "Sample Plug-in", "Apply Changes"));
  EXPECT_THAT(s.disabledMarks, ElementsAre("", "", "C", "", "", ""));
  EXPECT_THAT(s.headerTable, ElementsAre(kHeader, "3"));
  EXPECT_EQ(s.commandGuids[1], kDialogGuid);
  EXPECT_THAT(s.parameterBlocks, ::testing::Contains("  two leading blanks and one trailing "));
  EXPECT_THAT(s.parameterBlocks, ::testing::Contains("#not a comment"));
}

}  // namespace
}  // namespace corvane::authoring
