#include "launcher/script_container.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace corvane {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kSetGuid = "{11111111-1111-1111-1111-111111111111}";
constexpr const char* kInstallGuid = "{22222222-2222-2222-2222-222222222222}";
constexpr const char* kEndGuid = "{33333333-3333-3333-3333-333333333333}";
constexpr const char* kDialogGuid = "{44444444-4444-4444-4444-444444444444}";
constexpr const char* kSecondSetGuid = "{55555555-5555-5555-5555-555555555555}";

std::string Lines(std::initializer_list<std::string> lines, std::string_view end = "\r\n") {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += end;
  }
  return text;
}

// Five script lines; the parameter blocks are grouped by command kind (both
// "Set Variable" blocks first), as the build tool writes them.
std::string SampleContainer(std::string_view end = "\r\n") {
  return Lines({"Set Variable", "Install Files", "End", "Set Variable", "Display Dialog", "$",
                kSetGuid, kInstallGuid, kEndGuid, kSecondSetGuid, kDialogGuid, "$",
                kSetGuid, "TARGETDIR", "$PROGRAMFILES$\\Sample", "",
                kSecondSetGuid, "TITLE", "Sample $NEWLINE$ Setup", "",
                kInstallGuid, "$TARGETDIR$", "FALSE",
                kDialogGuid, "Welcome", "$",
                "", "", "", "", "C", "$",
                "{AAAAAAAA-0000-0000-0000-000000000000}",
                "Sample Product",
                "My Plugin", "$",
                "Sample Maker", "support@example.com", "http://example.com/help",
                "http://example.com/update", "Thanks",
                "", "OFFLINE\\", "", "", "", "$",
                "2",
                "ZOLT-PREDEF-COMPONENT", "1984470", "$",
                "{BBBBBBBB-0000-0000-0000-000000000000}",
                "OFFLINE", "bin\\sample.exe", "OFFLINE\\H2345678901234567890123456789010\\", "$",
                "TRUE",
                "English",
                "H2345678901234567890123456789010", "1", "$"},
               end);
}

TEST(ContainerParse, ReadsEverySectionInOrder) {
  const TScriptContainer container = TScriptContainer::Parse(SampleContainer());
  const TContainerSections& s = container.Sections();
  EXPECT_THAT(s.commandNames,
              ElementsAre("Set Variable", "Install Files", "End", "Set Variable", "Display Dialog"));
  EXPECT_THAT(s.commandGuids, ElementsAre(kSetGuid, kInstallGuid, kEndGuid, kSecondSetGuid, kDialogGuid));
  EXPECT_EQ(s.parameterBlocks.size(), 13u);
  EXPECT_THAT(s.disabledMarks, ElementsAre("", "", "", "", "C"));
  EXPECT_EQ(s.productCode, "{AAAAAAAA-0000-0000-0000-000000000000}");
  EXPECT_EQ(s.title, "Sample Product");
  EXPECT_THAT(s.pluginCommands, ElementsAre("My Plugin"));
  EXPECT_EQ(s.support.publisher, "Sample Maker");
  EXPECT_EQ(s.support.contact, "support@example.com");
  EXPECT_EQ(s.support.helpLink, "http://example.com/help");
  EXPECT_EQ(s.support.updateInfoLink, "http://example.com/update");
  EXPECT_EQ(s.support.comments, "Thanks");
  EXPECT_THAT(s.mediaFolders, ElementsAre("", "OFFLINE\\", "", "", ""));
  EXPECT_EQ(s.mediaLayout, 2);
  EXPECT_THAT(s.componentSizes, ElementsAre("ZOLT-PREDEF-COMPONENT", "1984470"));
  EXPECT_EQ(s.revisionCode, "{BBBBBBBB-0000-0000-0000-000000000000}");
  EXPECT_EQ(s.mediaFileMap.size(), 3u);
  EXPECT_TRUE(s.languagePrompt);
  EXPECT_EQ(s.defaultLanguage, "English");
  EXPECT_THAT(s.headerTable, ElementsAre("H2345678901234567890123456789010", "1"));

  EXPECT_EQ(container.CommandCount(), 5u);
  EXPECT_EQ(container.Name(1), "Install Files");
  EXPECT_EQ(container.Guid(4), kDialogGuid);
  EXPECT_TRUE(container.Disabled(4));
  EXPECT_FALSE(container.Disabled(0));
  EXPECT_EQ(container.MediaFolder(1), "OFFLINE\\");
  EXPECT_EQ(container.CommandHeader(1), "H2345678901234567890123456789010");
}

TEST(ContainerParse, SerializeGivesBackTheSameBytes) {
  const std::string bytes = SampleContainer();
  EXPECT_EQ(TScriptContainer::Parse(bytes).Serialize(), bytes);
}

TEST(ContainerParse, AcceptsLoneLineFeedsAndAFinalLineWithoutEnding) {
  const TScriptContainer crlf = TScriptContainer::Parse(SampleContainer());
  const TScriptContainer lf = TScriptContainer::Parse(SampleContainer("\n"));
  EXPECT_EQ(lf.Serialize(), crlf.Serialize());

  std::string unterminated = SampleContainer();
  unterminated.resize(unterminated.size() - 2);  // the last "$" has no CR LF
  EXPECT_EQ(TScriptContainer::Parse(unterminated).Serialize(), crlf.Serialize());
}

TEST(ContainerParse, CarriageReturnNotBeforeLineFeedStaysInTheLine) {
  std::string bytes = SampleContainer();
  const std::string title = "Sample Product\r\n";
  bytes.replace(bytes.find(title), title.size(), "Sample\rProduct\r\r\n");
  const TScriptContainer container = TScriptContainer::Parse(bytes);
  EXPECT_EQ(container.Sections().title, "Sample\rProduct\r");
  EXPECT_EQ(container.Serialize(), bytes);
}

TEST(ContainerParse, EveryListEmptyIsAnEmptyScript) {
  const TScriptContainer container = TScriptContainer::Parse(
      Lines({"$", "$", "$", "$", "{P}", "", "$", "", "", "", "", "", "$", "0", "$", "{R}", "$",
             "FALSE", "", "$"}));
  EXPECT_EQ(container.CommandCount(), 0u);
  EXPECT_TRUE(container.Sections().parameterBlocks.empty());
  EXPECT_TRUE(container.Sections().headerTable.empty());
  EXPECT_FALSE(container.Sections().languagePrompt);
  EXPECT_EQ(container.Name(0), "");
  EXPECT_EQ(container.Parameter("{P}", 0), "");
  EXPECT_EQ(container.CommandHeader(0), "");
}

TEST(ContainerParse, LanguagePromptIsOnOnlyForExactlyTrue) {
  for (const char* text : {"true", "TRUE ", "-1", "YES", ""}) {
    std::string bytes = SampleContainer();
    bytes.replace(bytes.find("\r\nTRUE\r\n"), 8, std::string("\r\n") + text + "\r\n");
    EXPECT_FALSE(TScriptContainer::Parse(bytes).Sections().languagePrompt) << text;
  }
}

TEST(ContainerParse, MediaLayoutMustBeADecimalInteger) {
  struct Case {
    const char* text;
    std::optional<int> value;  // empty: rejected
  };
  const Case cases[] = {
      {"2", 2},          {"3", 3},           {"-1", -1},     {"+4", 4},
      {"007", 7},        {"", std::nullopt}, {"abc", std::nullopt},
      {"2x", std::nullopt}, {" 2", std::nullopt}, {"2 ", std::nullopt},
      {"0x2", std::nullopt}, {"+-2", std::nullopt}, {"-", std::nullopt},
      {"99999999999", std::nullopt}, {"99999999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) {
    std::string bytes = SampleContainer();
    bytes.replace(bytes.find("\r\n2\r\n"), 5, std::string("\r\n") + c.text + "\r\n");
    if (c.value) {
      EXPECT_EQ(TScriptContainer::Parse(bytes).Sections().mediaLayout, *c.value) << c.text;
    } else {
      try {
        TScriptContainer::Parse(bytes);
        ADD_FAILURE() << "accepted \"" << c.text << "\"";
      } catch (const TContainerError& error) {
        EXPECT_THAT(error.what(), HasSubstr("section 10 (media layout)")) << c.text;
      }
    }
  }
}

// Cutting the container anywhere must give an error or a container, never a
// read past the end; a cut just after a section's last line names the next.
TEST(ContainerParse, TruncatedContainerIsRejectedNamingTheSection) {
  const std::string bytes = SampleContainer();
  const std::size_t lastListEnd = bytes.size() - 3;  // position of the final "$"
  for (std::size_t size = 0; size < bytes.size(); ++size) {
    const std::string cut = bytes.substr(0, size);
    if (size > lastListEnd) {
      EXPECT_NO_THROW(TScriptContainer::Parse(cut)) << size;
    } else {
      EXPECT_THROW(TScriptContainer::Parse(cut), TContainerError) << size;
    }
  }

  struct Boundary {
    std::string after;  // the container up to and including this text
    const char* section;
  };
  const std::string sectionEight = "Thanks\r\n";
  const Boundary boundaries[] = {
      {"", "section 1 (command names) ends before its closing \"$\""},
      {"Display Dialog\r\n$\r\n", "section 2 (command GUIDs) ends"},
      {std::string(kDialogGuid) + "\r\nWelcome\r\n$\r\n", "section 4 (disabled marks)"},
      {"C\r\n$\r\n", "section 5 (product code) is missing"},
      {"Sample Product\r\n", "section 7 (plug-in commands)"},
      {"My Plugin\r\n$\r\n", "section 8 (support information: publisher) is missing"},
      {"http://example.com/update\r\n", "section 8 (support information: comments) is missing"},
      {sectionEight, "section 9 (media folders)"},
      {"\r\n$\r\n2\r\n", "section 11 (component sizes)"},
      {"1984470\r\n$\r\n", "section 12 (revision code) is missing"},
      {"OFFLINE\\H2345678901234567890123456789010\\\r\n$\r\n", "section 14 (language prompt)"},
      {"TRUE\r\n", "section 15 (default language) is missing"},
      {"English\r\n", "section 16 (command headers) ends"},
  };
  for (const Boundary& b : boundaries) {
    const std::size_t at = b.after.empty() ? 0 : bytes.find(b.after) + b.after.size();
    ASSERT_NE(at, std::string::npos) << b.section;
    try {
      TScriptContainer::Parse(bytes.substr(0, at));
      ADD_FAILURE() << "parsed a container cut before " << b.section;
    } catch (const TContainerError& error) {
      EXPECT_THAT(error.what(), HasSubstr(b.section));
    }
  }
}

TEST(ContainerParse, BytesAfterTheLastSectionAreIgnored) {
  const std::string bytes = SampleContainer();
  EXPECT_EQ(TScriptContainer::Parse(bytes + "trailing\r\n$\r\n").Serialize(), bytes);
}

TEST(ContainerSerialize, RefusesLinesParseWouldReadDifferently) {
  struct Case {
    const char* what;
    void (*spoil)(TContainerSections&);
    const char* section;
  };
  const Case cases[] = {
      {"list item \"$\"", [](TContainerSections& s) { s.parameterBlocks.push_back("$"); },
       "section 3"},
      {"LF in a list item", [](TContainerSections& s) { s.commandNames.push_back("a\nb"); },
       "section 1"},
      {"LF in a single line", [](TContainerSections& s) { s.title = "a\r\nb"; }, "section 6"},
      {"LF in a support line", [](TContainerSections& s) { s.support.comments = "\n"; },
       "section 8"},
  };
  for (const Case& c : cases) {
    TContainerSections sections = TScriptContainer::Parse(SampleContainer()).Sections();
    c.spoil(sections);
    try {
      TScriptContainer(sections).Serialize();
      ADD_FAILURE() << c.what;
    } catch (const TContainerError& error) {
      EXPECT_THAT(error.what(), HasSubstr(c.section)) << c.what;
    }
  }
}

// The first line equal to the GUID is found wherever it is, then the line N
// places below it, whichever block that is in.
TEST(ContainerLookup, ParameterReadsLikeAScanFromTheTop) {
  const TScriptContainer container = TScriptContainer::Parse(SampleContainer());
  struct Case {
    std::string guid;
    std::size_t n;
    std::string expected;
  };
  const Case cases[] = {
      {kSetGuid, 0, kSetGuid},
      {kSetGuid, 1, "TARGETDIR"},
      {kSetGuid, 2, "$PROGRAMFILES$\\Sample"},
      {kSetGuid, 3, ""},                // an empty parameter line
      {kSetGuid, 4, kSecondSetGuid},    // past its block: the next block
      {kSecondSetGuid, 2, "Sample $NEWLINE$ Setup"},
      {kInstallGuid, 1, "$TARGETDIR$"},
      {kDialogGuid, 1, "Welcome"},
      {kDialogGuid, 2, ""},             // past the end of the list
      {kDialogGuid, static_cast<std::size_t>(-1), ""},
      {kEndGuid, 0, ""},                // a command without a block
      {"{99999999-9999-9999-9999-999999999999}", 1, ""},
      {"{11111111-1111-1111-1111-111111111111} ", 0, ""},  // compared exactly
      {"{11111111-1111-1111-1111-11111111111a}", 0, ""},
      {"TARGETDIR", 1, "$PROGRAMFILES$\\Sample"},  // parameter lines are compared too
      {"", 1, ""},                      // never the line after an empty parameter
  };
  for (const Case& c : cases) {
    EXPECT_EQ(container.Parameter(c.guid, c.n), c.expected) << c.guid << " " << c.n;
  }
}

TEST(ContainerLookup, GuidThatIsAlsoAParameterLineOfAnEarlierBlockFindsThatLine) {
  const std::string other = "{66666666-6666-6666-6666-666666666666}";
  TContainerSections s;
  s.commandNames = {"Comment", "Set Variable"};
  s.commandGuids = {kSetGuid, other};
  s.parameterBlocks = {kSetGuid, other, "text", other, "NAME", "VALUE"};
  const TScriptContainer container(s);
  EXPECT_EQ(container.Parameter(other, 0), other);
  EXPECT_EQ(container.Parameter(other, 1), "text");
  EXPECT_EQ(container.Parameter(other, 3), "NAME");
}

TEST(ContainerLookup, CommandHeaderIsTheLineBeforeTheFirstEqualIndexLine) {
  TContainerSections s;
  s.headerTable = {"A000000000000000000000000000000", "12",
                   "B00000000000000000000000000000", "0",
                   "C0", "1",
                   "D0", "12",  // a second entry for 12: the first one counts
                   "E0", "007"};
  const TScriptContainer container(s);
  struct Case {
    std::size_t index;
    std::string expected;
  };
  const Case cases[] = {
      {12, "A000000000000000000000000000000"},
      {0, "B00000000000000000000000000000"},  // not a header line that contains 0
      {1, "C0"},
      {2, ""},
      {7, ""},  // "007" is not the decimal text of 7
  };
  for (const Case& c : cases) {
    EXPECT_EQ(container.CommandHeader(c.index), c.expected) << c.index;
  }
}

TEST(ContainerLookup, CommandHeaderMatchingTheFirstTableLineIsEmpty) {
  TContainerSections s;
  s.headerTable = {"3", "4", "H0", "3"};
  const TScriptContainer container(s);
  EXPECT_EQ(container.CommandHeader(3), "");   // the first "3" has nothing before it
  EXPECT_EQ(container.CommandHeader(4), "3");  // the scan does not know pairs
}

TEST(ContainerLookup, PluginCommandsIgnoreLetterCase) {
  const TScriptContainer container = TScriptContainer::Parse(SampleContainer());
  EXPECT_TRUE(container.IsPluginCommand("My Plugin"));
  EXPECT_TRUE(container.IsPluginCommand("my PLUGIN"));
  EXPECT_FALSE(container.IsPluginCommand("My Plugin "));
  EXPECT_FALSE(container.IsPluginCommand("Set Variable"));
}

TEST(ContainerLookup, ShortParallelListsReadAsEmpty) {
  TContainerSections s;
  s.commandNames = {"Set Variable", "Display Dialog"};
  s.commandGuids = {kSetGuid};
  s.disabledMarks = {"C"};
  const TScriptContainer container(s);
  EXPECT_EQ(container.CommandCount(), 2u);
  EXPECT_EQ(container.Guid(1), "");
  EXPECT_FALSE(container.Disabled(1));
  EXPECT_EQ(container.MediaFolder(0), "");
  EXPECT_EQ(container.Name(2), "");
}

}  // namespace
}  // namespace corvane
