#include "actions/deferred_changes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "actions/unavailable_media_step.h"
#include "media/media_step.h"
#include "script/run_services.h"
#include "script/tests/script_fixture.h"
#include "script/validation/deferred_commands.h"

namespace corvane {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::GoTo;
using testing::If;
using ::testing::IsEmpty;
using testing::Label;
using testing::RuntimeError;
using testing::Set;
using testing::TLine;
using testing::Trace;

constexpr std::string_view kHeader = "H0000000000000000000000000000000";

// Parameter lines "line 1" ... "line 15".
std::vector<std::string> NumberedLines() {
  std::vector<std::string> lines;
  for (int k = 1; k <= 15; ++k) {
    lines.push_back("line " + std::to_string(k));
  }
  return lines;
}

class TRecordingMediaStep : public TMediaStep {
public:
  void Fetch(TRunContext& run, std::string_view mediaFolder) override {
    fetched.emplace_back(mediaFolder);
    recordedBefore.push_back(run.Engine().deferred.recordedProperties.size());
    if (!failure.empty()) {
      throw TMediaStepError(failure);
    }
  }

  std::vector<std::string> fetched;
  std::vector<std::size_t> recordedBefore;  // the recorded list's size at each fetch
  std::string failure;
};

// A setup language whose translations are "<slot>:" + the text, for the
// GUIDs it knows; it remembers every request.
class TPrefixTranslator : public TTranslator {
public:
  void Refresh(TRunContext&) override {}
  std::optional<std::string> TranslateCommandText(std::string_view text, std::string_view guid,
                                                  int slot) const override {
    requests.emplace_back(std::string(text), std::string(guid), slot);
    const auto known = translations.find({std::string(guid), slot});
    return known != translations.end() ? known->second : std::string(text);
  }

  std::map<std::pair<std::string, int>, std::string> translations;
  mutable std::vector<std::tuple<std::string, std::string, int>> requests;
};

// What the commands recorded: the run's start records every line with a
// header inactive before the first command.
class TRecordsAfterStart : public TRunHook {
public:
  void BeforeCommand(TRunContext& run) override {
    if (started_) return;
    started_ = true;
    recorded_ = run.Engine().deferred.recordedProperties.size();
    queued_ = run.Engine().deferred.packageQueue.size();
  }
  void EndOfRun(TRunContext&) noexcept override {}

  std::vector<std::string> Recorded(const TDeferredRecords& records) const {
    return {records.recordedProperties.begin() + static_cast<std::ptrdiff_t>(recorded_),
            records.recordedProperties.end()};
  }
  // The queue flattened the way the recorded list holds it.
  std::vector<std::string> Queued(const TDeferredRecords& records) const {
    std::vector<std::string> flat;
    for (std::size_t i = queued_; i < records.packageQueue.size(); ++i) {
      flat.push_back(records.packageQueue[i].first);
      flat.push_back(records.packageQueue[i].second);
    }
    return flat;
  }

private:
  bool started_ = false;
  std::size_t recorded_ = 0;
  std::size_t queued_ = 0;
};

class DeferredChangesTest : public ::testing::Test {
protected:
  DeferredChangesTest() {
    RegisterDeferredChangeCommands(runner.commands, media);
    runner.hooks.push_back(&afterStart);
  }

  // One header per line that has one, in script order.
  void Run(const std::vector<TLine>& lines, const std::map<std::size_t, std::string>& headers,
           TContainerSections sections = {}) {
    for (const auto& [index, header] : headers) {
      sections.headerTable.push_back(header);
      sections.headerTable.push_back(std::to_string(index));
    }
    runner.Run(lines, std::move(sections));
  }
  std::vector<std::string> Recorded() const { return afterStart.Recorded(runner.engine.deferred); }
  std::vector<std::string> Queued() const { return afterStart.Queued(runner.engine.deferred); }

  TRecordingMediaStep media;
  TRecordsAfterStart afterStart;
  testing::TScriptRunner runner;
};

TEST_F(DeferredChangesTest, EachCommandRecordsItsActivationThenItsParameterLinesInDigitOrder) {
  struct TCase {
    std::string command;
    std::vector<std::pair<int, int>> digitFromLine;
  };
  const std::vector<TCase> cases = {
      {"Write Registry", {{1, 3}, {2, 4}, {3, 5}}},
      {"Create File Type", {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}},
      {"Advertised File Type", {}},
      {"Create Folder", {{1, 1}}},
      {"Create Shortcut", {{1, 3}, {2, 1}, {3, 5}, {4, 6}}},
      {"Advertised Shortcut", {{1, 3}, {2, 1}, {3, 5}, {4, 6}}},
      {"Copy/Move Local Files", {{1, 1}, {2, 3}}},
      {"Delete Files", {{1, 1}}},
      {"Edit INI File", {{1, 1}, {2, 4}, {3, 5}, {4, 6}}},
      {"Set Environment", {{1, 2}}},
      {"Install Files", {{1, 3}}},
      {"Install Assembly", {{1, 3}}},
      {"Control Service", {{1, 1}, {2, 2}}},
      {"Create ODBC DSN", {}},
      {"Install ODBC Driver", {{1, 4}}},
      {"Install Service", {{1, 2}, {2, 4}, {3, 5}, {4, 9}, {5, 10}, {6, 13}, {7, 14}, {8, 15}, {9, 6}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.command);
    EXPECT_TRUE(IsDeferredCommand(c.command));
    testing::TScriptRunner run;
    RegisterDeferredChangeCommands(run.commands, media);
    TRecordsAfterStart commandRecords;
    run.hooks.push_back(&commandRecords);
    TContainerSections sections;
    sections.headerTable = {std::string(kHeader), "0"};
    run.Run({{c.command, NumberedLines()}}, std::move(sections));

    std::vector<std::string> expected = {"A" + std::string(kHeader), "TRUE"};
    for (const auto& [digit, line] : c.digitFromLine) {
      expected.push_back("P" + std::string(kHeader) + "_" + std::to_string(digit));
      expected.push_back("line " + std::to_string(line));
    }
    EXPECT_THAT(commandRecords.Recorded(run.engine.deferred), ElementsAreArray(expected));
    EXPECT_EQ(commandRecords.Queued(run.engine.deferred), expected);
    EXPECT_EQ(run.ErrorShown(), "");
  }
}

TEST_F(DeferredChangesTest, ValuesAreNormalisedSubstitutesWithLineBreaksEncoded) {
  Run({Set("TARGETDIR", "C:\\App\\"),
       Set("SHARE", "\\\\host\\dir\\"),
       {"Copy/Move Local Files", {"$TARGETDIR$\\bin", "", "$SHARE$\\sub"}},
       {"Write Registry", {"", "", "first$NEWLINE$second", "$UNDEFINED$", ""}}},
      {{2, "HA"}, {3, "HB"}});
  EXPECT_THAT(Recorded(),
              ElementsAre("AHA", "TRUE", "PHA_1", "C:\\App\\bin", "PHA_2", "\\\\host\\dir\\sub",  //
                          "AHB", "TRUE", "PHB_1", "first$NEWLINE$second", "PHB_2", "$UNDEFINED$", "PHB_3", ""));
  EXPECT_EQ(Queued(), Recorded());
}

TEST_F(DeferredChangesTest, ACommandReachedTwiceIsRecordedTwiceWithTheValueOfEachVisit) {
  Run({Set("TARGETDIR", "C:\\First"),
       Label("AGAIN"),
       {"Install Files", {"src", "FALSE|", "$TARGETDIR$"}},
       If("TARGETDIR", "0", "C:\\Second"),
       {"Terminate Install", {}},
       testing::End(),
       Set("TARGETDIR", "C:\\Second"),
       GoTo("AGAIN")},
      {{2, "HI"}});
  EXPECT_THAT(Recorded(), ElementsAre("AHI", "TRUE", "PHI_1", "C:\\First", "AHI", "TRUE", "PHI_1", "C:\\Second"));
  EXPECT_EQ(Queued(), Recorded());
}

TEST_F(DeferredChangesTest, ACommandInABranchNotTakenStaysInactive) {
  testing::TScriptRunner run;
  RegisterDeferredChangeCommands(run.commands, media);
  TContainerSections sections;
  sections.headerTable = {"HSKIPPED", "2", "HTAKEN", "4"};
  std::vector<TLine> lines = {Set("CHOICE", "no"),
                              If("CHOICE", "0", "yes"),
                              {"Write Registry", {"0", "Software", "Key", "Name", "Value"}},
                              testing::End(),
                              {"Create Folder", {"C:\\Data"}}};
  run.Run(lines, std::move(sections));  // the run's start records every header inactive
  EXPECT_THAT(run.engine.deferred.recordedProperties,
              ElementsAre("AHSKIPPED", "FALSE", "AHTAKEN", "FALSE", "AHTAKEN", "TRUE", "PHTAKEN_1", "C:\\Data"));
  EXPECT_EQ(run.engine.deferred.packageQueue.size(), 4u);
}

TEST_F(DeferredChangesTest, AMissingHeaderIsAScriptErrorAndRecordsNothing) {
  Run({{"Create Shortcut", {"$TARGETDIR$\\app.exe", "App", "SHORTCUTDIR", "", "", "", "", "", "0"}}, Trace("after")},
      {{5, "HOTHERLINE"}});
  EXPECT_EQ(runner.ErrorShown(), RuntimeError(1, kMissingCommandHeader));
  EXPECT_THAT(Recorded(), IsEmpty());
  EXPECT_THAT(runner.engine.deferred.shortcutTexts, IsEmpty());
  EXPECT_EQ(runner.Trace(), "");
}

TEST(ShortcutNameForm, TheFirstSixCharactersTrimmedThenTheWholeName) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Read Me First", "Read M~1|Read Me First"},
      {"Help", "Help~1|Help"},
      {" a b  c", "a b~1| a b  c"},
      {"\tTabbed", "Tabbe~1|\tTabbed"},
      {"Setup\r\nGuide", "Setup~1|Setup\r\nGuide"},
      {"", "~1|"},
  };
  for (const auto& [name, form] : cases) {
    EXPECT_EQ(ShortcutNameForm(name), form) << name;
  }
}

TEST_F(DeferredChangesTest, ShortcutsListTheirFolderPropertyNameAndTexts) {
  Run({Set("TITLE", "Corvane"),
       {"Create Shortcut",
        {"$TARGETDIR$\\app.exe", "$TITLE$ Help", "STARTMENU", "Opens the $TITLE$ help", "", "", "", "", "0"}},
       {"Advertised Shortcut", {"app.exe", "Go", "DESKTOP", "", "", "", "", "", "0"}}},
      {{1, "HS"}, {2, "HT"}});
  ASSERT_EQ(runner.engine.deferred.shortcutTexts.size(), 2u);
  const TShortcutText& first = runner.engine.deferred.shortcutTexts[0];
  EXPECT_EQ(first.directory, "PHS_1");
  EXPECT_EQ(first.name, "Corvan~1|Corvane Help");
  EXPECT_EQ(first.description, "Opens the Corvane help");
  EXPECT_EQ(runner.engine.deferred.shortcutTexts[1].name, "Go~1|Go");
  EXPECT_EQ(runner.engine.deferred.shortcutTexts[1].directory, "PHT_1");
}

TEST_F(DeferredChangesTest, AnAdvertisedFileTypeListsItsProgIdAsWrittenAndPrepared) {
  Run({Set("APP", "Corvane"), {"Advertised File Type", {"$APP$.Document", ".cvd", "$APP$ document"}}}, {{1, "HF"}});
  EXPECT_THAT(Recorded(), ElementsAre("AHF", "TRUE"));
  ASSERT_EQ(runner.engine.deferred.progIdTexts.size(), 1u);
  const TProgIdText& text = runner.engine.deferred.progIdTexts[0];
  EXPECT_EQ(text.written, "$APP$.Document");
  EXPECT_EQ(text.progId, "Corvane.Document");
  EXPECT_EQ(text.description, "Corvane document");
}

TEST_F(DeferredChangesTest, TranslatedLinesTakeTheTranslationOfTheirSlotSubstitutedAgain) {
  TPrefixTranslator translator;
  runner.translator = &translator;
  const std::string fileTypeGuid = "{00000000-0000-0000-0000-000000000001}";
  const std::string shortcutGuid = "{00000000-0000-0000-0000-000000000002}";
  translator.translations = {{{fileTypeGuid, 1}, "$APP$.Dokument"},
                             {{fileTypeGuid, 2}, "$APP$-Dokument\\\\neu"},
                             {{shortcutGuid, 1}, "Lies mich zuerst"}};
  Run({Set("APP", "Corvane"),
       {"Create File Type", {"$APP$.Document", ".cvd", "$APP$ document", "open", "$APP$.exe"}},
       {"Create Shortcut", {"app.exe", "Read Me First", "STARTMENU", "About $APP$", "", "", "", "", "0"}}},
      {{1, "HF"}, {2, "HS"}});
  EXPECT_THAT(Recorded(),
              ElementsAre("AHF", "TRUE", "PHF_1", "Corvane.Dokument", "PHF_2", ".cvd", "PHF_3", "Corvane-Dokument\\neu",
                          "PHF_4", "open", "PHF_5", "Corvane.exe",  //
                          "AHS", "TRUE", "PHS_1", "STARTMENU", "PHS_2", "app.exe", "PHS_3", "", "PHS_4", ""));
  ASSERT_EQ(runner.engine.deferred.shortcutTexts.size(), 1u);
  EXPECT_EQ(runner.engine.deferred.shortcutTexts[0].name, "Lies m~1|Lies mich zuerst");
  EXPECT_EQ(runner.engine.deferred.shortcutTexts[0].description, "About Corvane");  // no translation: the text
  // Asked with the substituted text, in slot order, keyed by each line's GUID
  // (the first request is Set Variable's own).
  translator.requests.erase(translator.requests.begin());
  using Request = std::tuple<std::string, std::string, int>;
  EXPECT_THAT(translator.requests,
              ElementsAre(Request{"Corvane.Document", fileTypeGuid, 1}, Request{"Corvane document", fileTypeGuid, 2},
                          Request{"Read Me First", shortcutGuid, 1}, Request{"About Corvane", shortcutGuid, 2}));
}

TEST_F(DeferredChangesTest, TheInstallCommandsFetchTheirMediaBetweenActivationAndParameters) {
  TContainerSections sections;
  sections.mediaLayout = 2;
  sections.mediaFolders = {"WEB1\\", "OFFLINE\\", "", "WEB2\\", "WEB3\\", "WEB4\\", "WEB5\\"};
  Run({{"Install Files", {"src", "FALSE|", "C:\\App"}},
       {"Install Assembly", {"", "", "C:\\Asm"}},
       {"Install Service", NumberedLines()},  // no media folder
       {"Install ODBC Driver", NumberedLines()},
       {"Install Service", NumberedLines()},
       {"Create Folder", {"C:\\Data"}},  // not an install command
       {"Write Registry", NumberedLines()}},
      {{0, "H0"}, {1, "H1"}, {2, "H2"}, {3, "H3"}, {4, "H4"}, {5, "H5"}, {6, "H6"}}, std::move(sections));
  EXPECT_THAT(media.fetched, ElementsAre("WEB1\\", "OFFLINE\\", "WEB2\\", "WEB3\\"));
  // Each fetch comes right after its line's activation: the first two lines
  // record four entries each, the service twenty, the driver four; the run's
  // start recorded the seven lines inactive before them.
  constexpr std::size_t kStart = 14;
  EXPECT_THAT(media.recordedBefore, ElementsAre(kStart + 2, kStart + 6, kStart + 30, kStart + 34));
}

TEST_F(DeferredChangesTest, MediaIsFetchedOnlyInTheOnDemandLayout) {
  for (const int layout : {0, 3}) {
    TContainerSections sections;
    sections.mediaLayout = layout;
    sections.mediaFolders = {"WEB1\\"};
    Run({{"Install Files", {"src", "FALSE|", "C:\\App"}}}, {{0, "H0"}}, std::move(sections));
  }
  EXPECT_THAT(media.fetched, IsEmpty());
}

TEST(DeferredMediaFailure, IsShownEvenInASilentRunAndEndsTheRunAfterTheActivation) {
  for (const bool silent : {false, true}) {
    SCOPED_TRACE(silent);
    TRecordingMediaStep media;
    media.failure = "Unable to download installation data from the web";
    testing::TScriptRunner run(TStartOptions{.silent = silent});
    RegisterDeferredChangeCommands(run.commands, media);
    TContainerSections sections;
    sections.title = "Product";
    sections.mediaLayout = 2;
    sections.mediaFolders = {"", "WEB1\\"};
    sections.headerTable = {"HI", "1"};
    EXPECT_EQ(run.Run({Trace("before"), {"Install Files", {"src", "FALSE|", "C:\\App"}}, Trace("after")},
                      std::move(sections)),
              0);
    ASSERT_EQ(run.host.boxes.size(), 1u);
    EXPECT_EQ(run.host.boxes[0].text, media.failure);
    EXPECT_EQ(run.host.boxes[0].caption, "Product - Corvane Wizard");
    EXPECT_EQ(run.host.boxes[0].style, kBoxIconError);
    EXPECT_EQ(run.host.boxes[0].owner, 0u);  // no progress window in this run
    EXPECT_THAT(run.engine.deferred.recordedProperties, ElementsAre("AHI", "FALSE", "AHI", "TRUE"));
    EXPECT_EQ(run.Trace(), "before");
  }
}

TEST(UnavailableMedia, FailsWithTheTextOfItsKindUnlessTheRunRemovesTheProduct) {
  struct TCase {
    std::string mediaFolder;
    std::string remove;
    std::string shown;  // empty: no box, the parameters are recorded
  };
  const std::vector<TCase> cases = {
      {"WEB1\\", "FALSE", std::string(kWebMediaUnavailable)},
      {"OFFLINE\\", "FALSE", std::string(kOfflineMediaUnavailable)},
      {"offline\\", "", std::string(kOfflineMediaUnavailable)},
      {"WEB1\\", "TRUE", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.mediaFolder + " " + c.remove);
    TUnavailableMediaStep media;
    testing::TScriptRunner run;
    RegisterDeferredChangeCommands(run.commands, media);
    TContainerSections sections;
    sections.mediaLayout = 2;
    sections.mediaFolders = {"", c.mediaFolder};
    sections.headerTable = {"HI", "1"};
    run.Run({Set("REMOVE", c.remove), {"Install Files", {"src", "FALSE|", "C:\\App"}}}, std::move(sections));
    if (c.shown.empty()) {
      EXPECT_THAT(run.host.boxes, IsEmpty());
      EXPECT_THAT(run.engine.deferred.recordedProperties,
                  ElementsAre("AHI", "FALSE", "AHI", "TRUE", "PHI_1", "C:\\App"));
    } else {
      ASSERT_EQ(run.host.boxes.size(), 1u);
      EXPECT_EQ(run.host.boxes[0].text, c.shown);
      EXPECT_THAT(run.engine.deferred.recordedProperties, ElementsAre("AHI", "FALSE", "AHI", "TRUE"));
    }
  }
}

}  // namespace
}  // namespace corvane
