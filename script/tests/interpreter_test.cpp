// The command cycle, dispatch, the commands that end a run, MessageBox and
// the seams other parts plug into.
#include "script/interpreter.h"

#include <gtest/gtest.h>

#include <map>

#include "script/script_error.h"
#include "script/text_rules.h"
#include "script/tests/script_fixture.h"

namespace corvane::testing {
namespace {

TLine Box(std::string icon, std::string buttons, std::string result = "ANSWER") {
  return {"MessageBox", {"Caption $TITLE$", "Text $B$", std::move(icon), std::move(buttons), std::move(result)}};
}

TEST(MessageBoxCommand, StyleIsIconPlusButtonsAndTheAnswerIsAWord) {
  struct Case {
    const char* icon;
    const char* buttons;
    unsigned style;
    int answer;
    const char* word;
  } cases[] = {
      {"0", "0", 0x42, 3, "ABORT"}, {"1", "1", 0x20, 1, "OK"},     {"2", "2", 0x31, 2, "CANCEL"},
      {"3", "3", 0x15, 4, "RETRY"}, {"0", "4", 0x44, 6, "YES"},    {"1", "5", 0x23, 7, "NO"},
      {"9", "9", 0x00, 5, "IGNORE"}, {"-1", "6", 0x00, 0, ""},
  };
  for (const Case& c : cases) {
    TScriptRunner runner;
    runner.host.answers = {c.answer};
    runner.Run({Set("B", "body"), Box(c.icon, c.buttons, "answer")});
    ASSERT_EQ(runner.host.boxes.size(), 1u);
    EXPECT_EQ(runner.host.boxes[0].style, c.style) << c.icon << c.buttons;
    EXPECT_EQ(runner.host.boxes[0].caption, "Caption ");  // no title in an empty container
    EXPECT_EQ(runner.host.boxes[0].text, "Text body");
    EXPECT_EQ(runner.host.boxes[0].owner, 0u);
    EXPECT_EQ(runner.Value("ANSWER"), c.word);  // defined under its upper-case name
  }
}

TEST(MessageBoxCommand, SilentRunsShowNothingAndLeaveTheResultUndefined) {
  TScriptRunner runner({.silent = true});
  runner.Run({Box("0", "1"), If("ANSWER", "0", "OK"), End(), Trace("after")});
  EXPECT_TRUE(runner.host.boxes.empty());  // not even the error
  EXPECT_EQ(runner.Value("ANSWER"), "<undefined>");
  EXPECT_EQ(runner.Trace(), "");  // the If ended the run
}

TEST(MessageBoxCommand, NonNumericCodesAreScriptErrors) {
  TScriptRunner runner;
  runner.Run({Box("info", "1")});
  EXPECT_EQ(runner.ErrorShown(), RuntimeError(1, "'info' is not a valid integer value"));
  EXPECT_EQ(runner.host.boxes.size(), 1u);
}

TEST(ErrorReport, CaptionFollowsTitleAndBranding) {
  struct Case {
    const char* title;
    const char* noBrand;
    const char* caption;
  } cases[] = {
      {"", "", "Corvane Wizard"},
      {"Acme", "", "Acme - Corvane Wizard"},
      {"Acme", "TRUE", "Acme"},
      {"Acme", "true", "Acme - Corvane Wizard"},  // exactly "TRUE"
  };
  for (const Case& c : cases) {
    TScriptRunner runner;
    runner.Run({Set("TITLE", c.title), Set("NOBRAND", c.noBrand), If("NEVER", "0", "")});
    ASSERT_EQ(runner.host.boxes.size(), 1u);
    EXPECT_EQ(runner.host.boxes[0].caption, c.caption);
    EXPECT_EQ(runner.host.boxes[0].style, kBoxIconError);
    EXPECT_EQ(runner.host.boxes[0].owner, 0u);
  }
}

TEST(ErrorReport, AnyErrorEndsTheRunAtItsLine) {
  TScriptRunner runner;
  runner.commands.Register("Fail", [](TRunContext&) { throw std::runtime_error("disk on fire"); });
  runner.Run({Trace("a"), {"Fail", {}}, Trace("b")});
  EXPECT_EQ(runner.ErrorShown(), RuntimeError(2, "disk on fire"));
  EXPECT_EQ(runner.Trace(), "a");
}

TEST(RunEnd, TerminateCommandsSetTheExitCode) {
  struct Case {
    TLine command;
    int exitCode;
  } cases[] = {
      {{"Terminate with Exit Code", {"1603"}}, 1603},
      {{"Terminate with Exit Code", {"$CODE$"}}, 3010},
      {{"Terminate with Exit Code", {"abc"}}, 0},
      {{"Terminate Install", {}}, 0},
  };
  for (const Case& c : cases) {
    TScriptRunner runner;
    EXPECT_EQ(runner.Run({Set("CODE", "3010"), Trace("a"), c.command, Trace("b")}), c.exitCode);
    EXPECT_EQ(runner.Trace(), "a");
    EXPECT_EQ(runner.ErrorShown(), "");
  }
}

TEST(RunEnd, RebootComputerRequestsARestartAndEndsTheRun) {
  TScriptRunner runner;
  runner.Run({{"Reboot Computer", {}}, Trace("b")});
  EXPECT_EQ(runner.host.restarts, 1);
  EXPECT_TRUE(runner.host.runValues.empty());
  EXPECT_EQ(runner.Trace(), "");
}

TEST(RunEnd, RebootAndResumeWritesTheRunValueFirst) {
  struct Case {
    TStartOptions options;
    const char* allUsers;
    TRegistryRoot root;
    const char* data;
  } cases[] = {
      {{}, "FALSE", TRegistryRoot::CurrentUser, "C:\\Users\\me\\kel1\\setup.exe"},
      {{.argumentsText = "/s TARGETDIR=C:\\x"}, "true", TRegistryRoot::LocalMachine,
       "C:\\Users\\me\\kel1\\setup.exe /s TARGETDIR=C:\\x"},
      {{.selfExtractorPath = "c:\\downloads\\acme.exe", .argumentsText = "/m=c:\\downloads\\acme.exe"}, "-1",
       TRegistryRoot::LocalMachine, "c:\\downloads\\acme.exe /m=c:\\downloads\\acme.exe"},
  };
  for (const Case& c : cases) {
    TScriptRunner runner(c.options);
    TContainerSections sections;
    sections.productCode = "{A1B2C3D4-1111-2222-3333-444455556666}";
    runner.Run({Set("ALLUSERS", c.allUsers), {"Reboot and Resume", {}}, Trace("b")}, sections);
    ASSERT_EQ(runner.host.runValues.size(), 1u);
    EXPECT_EQ(runner.host.runValues[0].root, c.root);
    EXPECT_EQ(runner.host.runValues[0].name, "A1B2C3D4");
    EXPECT_EQ(runner.host.runValues[0].data, c.data);
    EXPECT_EQ(runner.host.restarts, 1);
    EXPECT_EQ(runner.Trace(), "");
  }
}

TEST(Cycle, RefreshesDateTimeAndFlagsBeforeEveryCommand) {
  TScriptRunner runner;
  runner.commands.Register("Check", [](TRunContext& run) {
    run.StoreResult("SEEN", run.Store().Get("DATE") + "|" + run.Store().Get("TIME") + "|" +
                                BooleanText(run.Silent()) + "|" + run.State().logPath + "|" + run.Caption());
  });
  runner.Run({Set("SILENT", "TRUE"), Set("LOGGED", "C:\\setup.log"), Set("TITLE", "Acme"), {"Check", {}}});
  EXPECT_EQ(runner.Value("SEEN"), "1/2/2025|10:11:12 AM|TRUE|C:\\setup.log|Acme - Corvane Wizard");
}

TEST(Cycle, SettingSilentFalseBringsMessagesBack) {
  TScriptRunner runner({.silent = true});
  runner.Run({Box("0", "1"), Set("SILENT", "FALSE"), Box("0", "1")});
  EXPECT_EQ(runner.host.boxes.size(), 1u);
}

TEST(Cycle, HandlesPendingMessagesEvery314Commands) {
  TScriptRunner runner;
  runner.Run(std::vector<TLine>(700, TLine{"Comment", {}}));
  EXPECT_EQ(runner.host.pendingMessageRounds, 3);  // before lines 1, 315 and 629
}

TEST(Cycle, AbortFollowsTheCancelFlagExceptOnDisabledCommands) {
  for (const bool lastDisabled : {false, true}) {
    TScriptRunner runner;
    runner.commands.Register("Cancel", [](TRunContext& run) { run.Engine().flags.cancel = true; });
    TLine last{"Comment", {}};
    runner.Run({{"Cancel", {}}, lastDisabled ? Disabled(last) : last});
    EXPECT_EQ(runner.Value("ABORT"), lastDisabled ? "FALSE" : "TRUE");
  }
}

TEST(Cycle, RemovingAbortFailsTheNextCommand) {
  TScriptRunner runner;
  runner.commands.Register("Drop", [](TRunContext& run) { run.Store().Import("TITLE,x"); });
  runner.Run({{"Drop", {}}, Trace("a")});
  EXPECT_EQ(runner.ErrorShown(), RuntimeError(2, "Attempting to set value of undefined variable ABORT"));
}

TEST(Cycle, ProgressIsPushedWhileAProgressWindowIsUp) {
  TScriptRunner runner;
  runner.commands.Register("Show", [](TRunContext& run) { run.State().progressWindow = 0x1234; });
  runner.commands.Register("Look", [](TRunContext& run) {
    const TProgressValues progress = run.Engine().progress.Snapshot();
    run.StoreResult("SEEN", run.Store().Find("SEEN").value_or("") + progress.text + ":" +
                                std::to_string(progress.position) + "/" + std::to_string(progress.maximum) + " ");
  });
  runner.Run({Set("PROGRESSTEXT", "Early"), {"Look", {}}, {"Show", {}}, {"Look", {}}, Set("PROGRESS", "40"),
              {"Look", {}}, Set("PROGRESSTEXT", "Copying"), Set("PROGRESS", "-1"), {"Look", {}}, {"Look", {}}});
  EXPECT_EQ(runner.Value("SEEN"), ":0/0 Early:0/100 Early:40/100 Copying:40/100 Copying:40/100 ");
  EXPECT_EQ(runner.host.messagesHandled, 4);  // one wait step per change
}

TEST(Cycle, NonIntegerProgressFailsOnlyWithAProgressWindow) {
  for (const bool window : {false, true}) {
    TScriptRunner runner;
    runner.commands.Register("Show", [](TRunContext& run) { run.State().progressWindow = 0x1234; });
    std::vector<TLine> script = {Set("PROGRESS", "half"), Trace("a")};
    if (window) script.insert(script.begin(), TLine{"Show", {}});
    runner.Run(script);
    EXPECT_EQ(runner.ErrorShown(), window ? RuntimeError(3, "'half' is not a valid integer value") : "");
  }
}

TEST(Cycle, WaitStepHandlesAMessageOrWaitsForTheWorker) {
  int worker = 0;
  for (const bool silent : {false, true}) {
    TScriptRunner runner({.silent = silent});
    runner.commands.Register("Wait", [&](TRunContext& run) {
      run.WaitStep(&worker);
      run.WaitStep();
    });
    runner.Run({{"Wait", {}}});
    EXPECT_EQ(runner.host.messagesHandled, silent ? 0 : 2);
    EXPECT_EQ(runner.host.workersWaitedFor, silent ? std::vector<TWorkerHandle>{&worker} : std::vector<TWorkerHandle>{});
  }
}

TEST(Dispatch, PluginNamesShadowBuiltInNamesInAnyCase) {
  TScriptRunner runner;
  runner.commands.RegisterPluginHandler([](TRunContext& run) { run.StoreResult("PLUGIN", run.CommandName()); });
  TContainerSections sections;
  sections.pluginCommands = {"set variable"};
  runner.Run({Set("X", "1"), Trace("a")}, sections);
  EXPECT_EQ(runner.Value("X"), "<undefined>");
  EXPECT_EQ(runner.Value("PLUGIN"), "Set Variable");
  EXPECT_EQ(runner.Trace(), "a");
}

TEST(Dispatch, BuiltInNamesMatchExactly) {
  TScriptRunner runner;
  runner.Run({{"set variable", {"X", "1"}}, {"Set Variable ", {"X", "1"}}});
  EXPECT_EQ(runner.Value("X"), "<undefined>");
  EXPECT_EQ(runner.ErrorShown(), "");
}

TEST(SetVariableCommand, NameBareOrAsTokenValueSubstituted) {
  TScriptRunner runner;
  runner.Run({Set("$path$", "C:\\$NAME$"), Set("name", "App"), Set("Path", "$PATH$\\$NAME$"), Set("$$", "x")});
  const std::vector<TVariable> variables = runner.engine.store.Variables();
  const std::vector<TVariable> defined(variables.end() - 3, variables.end());
  // The first value kept its token, since NAME did not exist yet; NAME comes
  // after PATH in store order, so one pass resolves both.
  EXPECT_EQ(defined, (std::vector<TVariable>{{"PATH", "C:\\App\\App"}, {"NAME", "App"}, {"$$", "x"}}));
}

TEST(SetVariableCommand, CommandLineOverridesWinOnlyInSilentRuns) {
  for (const bool silent : {false, true}) {
    TScriptRunner runner({.silent = silent, .overrides = {{"TargetDir", "D:\\Chosen"}, {"extra", "1"}}});
    runner.Run({Set("TARGETDIR", "C:\\Default")});
    EXPECT_EQ(runner.Value("TARGETDIR"), silent ? "D:\\Chosen" : "C:\\Default");
    EXPECT_EQ(runner.Value("EXTRA"), "1");
  }
}

class TRecordingSeams : public TScriptValidator, public TRunHook, public TTranslator {
public:
  bool Validate(const TScriptContainer&) override { return valid; }
  void BeforeCommand(TRunContext&) override { ++commandsSeen; }
  void EndOfRun(TRunContext&) noexcept override { ++endings; }
  void Refresh(TRunContext& run) override { language = run.Store().Find("LANGUAGE").value_or(""); }
  std::optional<std::string> TranslateCommandText(std::string_view text, std::string_view guid,
                                                  int slot) const override {
    if (language.empty()) return std::nullopt;
    const auto found = translations.find({std::string(guid), slot});
    return found == translations.end() ? std::string(text) : found->second;
  }

  bool valid = true;
  int commandsSeen = 0;
  int endings = 0;
  std::string language;
  std::map<std::pair<std::string, int>, std::string> translations;
};

std::string GuidOfLine(std::size_t index) { return MakeSections(std::vector<TLine>(index + 1)).commandGuids[index]; }

TEST(Seams, AFailingValidatorRunsNothing) {
  TScriptRunner runner;
  TRecordingSeams seams;
  seams.valid = false;
  runner.validator = &seams;
  runner.hooks = {&seams};
  EXPECT_EQ(runner.Run({Trace("a"), {"Terminate with Exit Code", {"5"}}}), 0);
  EXPECT_EQ(seams.commandsSeen, 0);
  EXPECT_EQ(seams.endings, 0);
  EXPECT_EQ(runner.Trace(), "");
}

TEST(Seams, EndOfRunHooksRunOnceHoweverTheRunEnds) {
  for (const TLine& ending : {Trace("z"), TLine{"Terminate Install", {}}, If("$NEVER$", "0", "")}) {
    TScriptRunner runner;
    TRecordingSeams seams;
    runner.hooks = {&seams};
    runner.Run({Trace("a"), ending, Trace("b")});
    EXPECT_EQ(seams.endings, 1);
    EXPECT_GE(seams.commandsSeen, 2);
  }
}

// The run's own initialiser, whose completion then fails or ends the run.
class TFailingCompletion : public TRunInitialiser {
public:
  explicit TFailingCompletion(TRunInitialiser& inner) : inner_(inner) {}
  void Prepare(TRunContext& run) override { inner_.Prepare(run); }
  bool Complete(TRunContext& run) override {
    inner_.Complete(run);
    if (fail) throw TScriptError("instance file unreadable");
    return proceed;
  }
  bool fail = false;
  bool proceed = true;

private:
  TRunInitialiser& inner_;
};

TEST(Seams, InitialisationCanEndTheRunOrFailAtLineZero) {
  struct Case {
    bool fail;
    bool proceed;
    const char* error;
    const char* trace;
  } cases[] = {
      {false, true, "", "a"},
      {false, false, "", ""},
      {true, true, "Runtime error in setup script:\r\rLine 0: instance file unreadable", ""},
  };
  for (const Case& c : cases) {
    TScriptRunner runner;
    TFailingCompletion initialiser(runner.initialiser);
    initialiser.fail = c.fail;
    initialiser.proceed = c.proceed;
    const TScriptContainer container(MakeSections({Trace("a")}));
    TInterpreter interpreter(runner.engine, runner.host, runner.commands, {.initialiser = initialiser});
    interpreter.Run(container, kTestPackagePath);
    EXPECT_EQ(runner.ErrorShown(), c.error);
    EXPECT_EQ(runner.Trace(), c.trace);
  }
}

TEST(Seams, ActiveLanguageTranslatesCommandTexts) {
  TScriptRunner runner;
  TRecordingSeams seams;
  runner.translator = &seams;
  seams.translations = {{{GuidOfLine(3), 1}, "Wert $B$"},
                        {{GuidOfLine(4), 1}, "$GERMAN$"},
                        {{GuidOfLine(4), 2}, "ja"},
                        {{GuidOfLine(5), 1}, "Titel"},
                        {{GuidOfLine(5), 2}, "Frage $B$?"}};
  runner.Run({Set("B", "b"), Set("GERMAN", "ja"), Set("LANGUAGE", "German"), Set("A", "value $B$"),
              If("ENGLISH", "0", "yes"), Box("1", "4"), End(), Set("C", "untranslated $B$")});
  EXPECT_EQ(runner.Value("A"), "Wert b");
  ASSERT_EQ(runner.host.boxes.size(), 1u);  // the If compared GERMAN with "ja"
  EXPECT_EQ(runner.host.boxes[0].caption, "Titel");
  EXPECT_EQ(runner.host.boxes[0].text, "Frage b?");
  EXPECT_EQ(runner.Value("C"), "untranslated b");
}

}  // namespace
}  // namespace corvane::testing
