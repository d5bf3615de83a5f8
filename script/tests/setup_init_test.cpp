// The start of a run: what the first command finds, and the order in which
// the start got there.
#include "script/setup_init.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "script/script_error.h"
#include "script/tests/script_fixture.h"

namespace corvane {
namespace {

using testing::TFakeProductStart;
using testing::TFakeSetupSystem;
using testing::TLine;
using testing::TScriptRunner;

TContainerSections Product() {
  TContainerSections sections;
  sections.productCode = "{C0FFEE42-1111-2222-3333-444455556666}";
  sections.title = "Acme Tools";
  sections.support.publisher = "Acme Ltd";
  return sections;
}

// A runner whose "Snapshot" command keeps the store as the command found it.
struct TStartRun {
  explicit TStartRun(TStartOptions options = {}) : runner(std::move(options)) {
    runner.commands.Register("Snapshot", [this](TRunContext& run) {
      if (!firstSeen) firstSeen = run.Store().Variables();
    });
    runner.system.registry[{TRegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\",
                            "RegisteredOwner"}] = "Jo Owner";
    runner.system.registry[{TRegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\",
                            "RegisteredOrganization"}] = "Owner Org";
  }
  int Run(std::vector<TLine> lines = {{"Snapshot", {}}}, TContainerSections sections = Product()) {
    return runner.Run(lines, std::move(sections));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const TVariable& variable : firstSeen.value_or(std::vector<TVariable>{})) names.push_back(variable.name);
    return names;
  }
  std::string Seen(std::string_view name) const {
    for (const TVariable& variable : firstSeen.value_or(std::vector<TVariable>{})) {
      if (variable.name == name) return variable.value;
    }
    return "<undefined>";
  }

  TScriptRunner runner;
  std::optional<std::vector<TVariable>> firstSeen;
};

class TFakeChooser : public TLanguageChooser {
public:
  explicit TFakeChooser(std::optional<std::string> answer) : answer_(std::move(answer)) {}
  std::optional<std::string> ChooseLanguage(TRunContext& run) override {
    languageBefore = run.Store().Find("LANGUAGE");
    activationsBefore = run.Engine().deferred.recordedProperties.size();
    return answer_;
  }
  std::optional<std::string> languageBefore;
  std::size_t activationsBefore = 0;

private:
  std::optional<std::string> answer_;
};

TEST(SetupInit, FirstCommandFindsEveryPredefinedVariableInOrder) {
  TStartRun start;
  start.Run();
  const std::vector<std::string> expected = {
      "TARGETDIR", "STARTMENU", "ALLUSERS", "PRODUCTCODE", "NOBRAND", "SELECTED", "WINDOWHANDLE", "EXEFILE",
      "EXEDIR", "PROGRESSTEXT", "PROGRESSMODE", "ABORT", "PROGRESS", "LASTERROR", "LICENSE", "USERNAME",
      "USERCOMPANY", "REBOOTCOMPUTER", "RUNAPP", "WIZARD", "VERSION", "SILENT", "LOGGED", "CMDLINE", "SFXPATH",
      "SFXFILE", "COMPLETE", "MINIMUM", "PERSONALIZED", "MODIFY", "REPAIR", "REMOVE", "ROOTDIR", "TITLE",
      "COMPANY", "ADVERTISE", "DATE", "TIME", "TEMPDIR", "SUPPORTDIR", "MSIFILE", "LANGUAGE"};
  EXPECT_EQ(start.Names(), expected);
}

TEST(SetupInit, PredefinedValues) {
  TStartRun start({.logPath = "C:\\logs\\setup.log", .argumentsText = "/l=C:\\logs\\setup.log"});
  start.Run();
  const std::pair<const char*, const char*> expected[] = {
      {"TARGETDIR", ""},
      {"STARTMENU", "Acme Tools"},
      {"ALLUSERS", "FALSE"},
      {"NOBRAND", ""},
      {"SELECTED", "0"},
      {"WINDOWHANDLE", "0"},
      {"EXEFILE", "C:\\Users\\me\\kel1\\setup.exe"},
      {"EXEDIR", "C:\\Users\\me\\kel1\\"},
      {"PROGRESSTEXT", ""},
      {"PROGRESSMODE", ""},
      {"ABORT", "FALSE"},
      {"PROGRESS", "0"},
      {"LASTERROR", ""},
      {"LICENSE", "FALSE"},
      {"USERNAME", "Jo Owner"},
      {"USERCOMPANY", "Owner Org"},
      {"REBOOTCOMPUTER", "FALSE"},
      {"RUNAPP", "TRUE"},
      {"WIZARD", "NEXT"},
      {"VERSION", "1.2.3.4"},
      {"SILENT", "FALSE"},
      {"LOGGED", "C:\\logs\\setup.log"},
      {"CMDLINE", "/l=C:\\logs\\setup.log"},
      {"SFXPATH", ""},
      {"SFXFILE", ""},
      {"COMPLETE", "TRUE"},
      {"MINIMUM", "FALSE"},
      {"PERSONALIZED", "FALSE"},
      {"MODIFY", "TRUE"},
      {"REPAIR", "FALSE"},
      {"REMOVE", "FALSE"},
      {"ROOTDIR", "C:\\Users\\me\\kel1\\"},
      {"TITLE", "Acme Tools"},
      {"COMPANY", "Acme Ltd"},
      {"ADVERTISE", "FALSE"},
      {"DATE", "1/2/2025"},
      {"TIME", "10:11:12 AM"},
      {"TEMPDIR", "C:\\Users\\me\\Temp\\"},
      {"SUPPORTDIR", "C:\\Users\\me\\kel1\\"},
      {"MSIFILE", "C:\\Users\\me\\kel1\\setup.msi"},
      {"LANGUAGE", ""},
  };
  for (const auto& [name, value] : expected) EXPECT_EQ(start.Seen(name), value) << name;
}

TEST(SetupInit, RegisteredOwnerComesFromTheFamilysKey) {
  TStartRun start;
  start.runner.system.ntFamily = false;
  start.runner.system.registry[{TRegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\",
                                "RegisteredOwner"}] = "Old Owner";
  start.Run();
  EXPECT_EQ(start.Seen("USERNAME"), "Old Owner");
  EXPECT_EQ(start.Seen("USERCOMPANY"), "");
}

TEST(SetupInit, AllUsersOnlyForAnAdministratorOfTheNtFamily) {
  struct Case {
    bool nt, administrator;
    const char* allUsers;
  } cases[] = {{true, true, "TRUE"}, {true, false, "FALSE"}, {false, true, "FALSE"}};
  for (const Case& c : cases) {
    TStartRun start;
    start.runner.system.ntFamily = c.nt;
    start.runner.system.administrator = c.administrator;
    start.Run();
    EXPECT_EQ(start.Seen("ALLUSERS"), c.allUsers) << c.nt << c.administrator;
  }
}

// The instance logic sees the pre-initialised variables; the language is
// chosen after the activations and before the overrides.
class TOrderWatchingProduct : public TFakeProductStart {
public:
  void DetectInstance(TRunContext& run) override {
    seenAtDetection = run.Store().Variables();
    TFakeProductStart::DetectInstance(run);
  }
  void PreparePatch(TRunContext& run) override {
    TFakeProductStart::PreparePatch(run);
    msiFileAtPatch = run.Store().Find("MSIFILE");
    activationsAtPatch = run.Engine().deferred.recordedProperties.size();
    runValuesDeletedAtPatch = deleted->size();
  }
  std::vector<TVariable> seenAtDetection;
  std::optional<std::string> msiFileAtPatch;
  std::size_t activationsAtPatch = 99;
  std::size_t runValuesDeletedAtPatch = 99;
  const std::vector<TFakeSetupSystem::TRunValue>* deleted = nullptr;
};

TEST(SetupInit, StepsRunInTheirOrder) {
  TScriptRunner runner({.overrides = {{"TARGETDIR", "C:\\Override\\"}}});
  TOrderWatchingProduct product;
  product.deleted = &runner.system.runValuesDeleted;
  TFakeChooser chooser("Deutsch");
  TSetupInit initialiser({.system = runner.system, .product = product, .language = &chooser});
  runner.system.files[R"(C:\Users\me\kel1\setup.msp)"] = "";
  runner.engine.deferred.shortcutTexts.push_back({"D", "N", "T"});
  runner.engine.deferred.progIdTexts.push_back({"W", "P", "D"});
  TContainerSections sections = Product();
  sections.headerTable = {"HEADER1", "0"};
  const TScriptContainer container(testing::MakeSections({{"Trace", {"$LANGUAGE$ $TARGETDIR$"}}}, sections));
  TInterpreter interpreter(runner.engine, runner.host, runner.commands, {.initialiser = initialiser});
  interpreter.Run(container, testing::kTestPackagePath);

  EXPECT_EQ(product.calls,
            (std::vector<std::string>{"ClearComponents", "DetectInstance", "DefinePredefinedComponent", "PreparePatch"}));
  EXPECT_EQ(product.seenAtDetection, (std::vector<TVariable>{{"TARGETDIR", ""},
                                                             {"STARTMENU", "Acme Tools"},
                                                             {"ALLUSERS", "FALSE"}}));
  EXPECT_EQ(product.msiFileAtPatch, std::optional<std::string>(testing::kTestPackagePath));
  EXPECT_EQ(product.runValuesDeletedAtPatch, 0u);
  EXPECT_EQ(product.activationsAtPatch, 0u);
  EXPECT_EQ(chooser.languageBefore, std::optional<std::string>(""));
  EXPECT_EQ(chooser.activationsBefore, 2u);
  EXPECT_EQ(runner.engine.deferred.recordedProperties, (std::vector<std::string>{"AHEADER1", "FALSE"}));
  EXPECT_TRUE(runner.engine.deferred.shortcutTexts.empty());
  EXPECT_TRUE(runner.engine.deferred.progIdTexts.empty());
  EXPECT_EQ(runner.Trace(), "Deutsch C:\\Override\\");
}

TEST(SetupInit, NoPatchNoPatchPreparation) {
  TStartRun start;
  start.Run();
  EXPECT_EQ(start.runner.product.calls,
            (std::vector<std::string>{"ClearComponents", "DetectInstance", "DefinePredefinedComponent"}));
}

TEST(SetupInit, WithoutPackageOrPatchNothingRuns) {
  struct Case {
    bool package, patch;
    int exitCode;
  } cases[] = {{true, false, 3}, {false, true, 3}, {false, false, 0}};
  for (const Case& c : cases) {
    TStartRun start;
    start.runner.system.files.clear();
    if (c.package) start.runner.system.files[testing::kTestPackagePath] = "";
    if (c.patch) start.runner.system.files[R"(C:\Users\me\kel1\setup.msp)"] = "";
    EXPECT_EQ(start.Run({{"Terminate with Exit Code", {"3"}}}), c.exitCode) << c.package << c.patch;
    EXPECT_EQ(start.runner.host.boxes.size(), 0u);
  }
}

TEST(SetupInit, LanguageChoice) {
  struct Case {
    std::optional<std::string> answer;
    bool useChooser;
    int exitCode;
    const char* language;
  } cases[] = {
      {std::nullopt, false, 5, ""},
      {"", true, 5, ""},
      {"Francais", true, 5, "Francais"},
      {std::nullopt, true, 0, "<undefined>"},  // cancelled: nothing runs
  };
  for (const Case& c : cases) {
    TScriptRunner runner;
    TFakeChooser chooser(c.answer);
    TSetupInit initialiser({.system = runner.system, .product = runner.product,
                            .language = c.useChooser ? &chooser : nullptr});
    const TScriptContainer container(testing::MakeSections(
        {{"Set Variable", {"SEEN", "$LANGUAGE$"}}, {"Terminate with Exit Code", {"5"}}}, Product()));
    TInterpreter interpreter(runner.engine, runner.host, runner.commands, {.initialiser = initialiser});
    EXPECT_EQ(interpreter.Run(container, testing::kTestPackagePath), c.exitCode);
    EXPECT_EQ(runner.Value("SEEN"), c.language);
    EXPECT_TRUE(runner.host.boxes.empty());
  }
}

TEST(SetupInit, OverridesWinAndNewNamesSubstitute) {
  for (bool silent : {false, true}) {
    TStartRun start({.silent = silent,
                     .overrides = {{"targetdir", "D:\\Mine\\"}, {"Fresh", "new"}, {"FRESH", "newer"}}});
    start.Run({{"Snapshot", {}}, {"Set Variable", {"USED", "$FRESH$ $TARGETDIR$"}}});
    EXPECT_EQ(start.Seen("TARGETDIR"), "D:\\Mine\\");
    EXPECT_EQ(start.Seen("FRESH"), "newer");
    EXPECT_EQ(start.Names().back(), "FRESH");
    EXPECT_EQ(start.runner.Value("USED"), "newer D:\\Mine\\");
  }
}

TEST(SetupInit, SelfExtractorPathAndFileInLowerCase) {
  struct Case {
    std::string path;
    const char* folder;
    const char* file;
  } cases[] = {
      {"", "", ""},
      {"C:\\Downloads\\Acme Setup.EXE", "c:\\downloads\\", "acme setup.exe"},
      {"Setup.exe", "", "setup.exe"},
  };
  for (const Case& c : cases) {
    TStartRun start({.selfExtractorPath = c.path});
    start.Run();
    EXPECT_EQ(start.Seen("SFXPATH"), c.folder) << c.path;
    EXPECT_EQ(start.Seen("SFXFILE"), c.file) << c.path;
  }
}

TEST(SetupInit, ResumeEntryIsRemovedFromBothRoots) {
  TStartRun start;
  start.Run();
  using TRunValue = TFakeSetupSystem::TRunValue;
  EXPECT_EQ(start.runner.system.runValuesDeleted,
            (std::vector<TRunValue>{{TRegistryRoot::CurrentUser, "C0FFEE42"}, {TRegistryRoot::LocalMachine, "C0FFEE42"}}));

  TStartRun withoutCode;
  TContainerSections sections = Product();
  sections.productCode.clear();
  withoutCode.Run({{"Snapshot", {}}}, sections);
  EXPECT_TRUE(withoutCode.runner.system.runValuesDeleted.empty());
}

class TThrowingProduct : public TFakeProductStart {
public:
  void DetectInstance(TRunContext& run) override {
    TFakeProductStart::DetectInstance(run);
    if (failDetection) throw std::runtime_error("instance file unreadable");
  }
  void DefinePredefinedComponent() override {
    if (!failDetection) throw TScriptError("component table damaged");
  }
  bool failDetection = true;
};

TEST(SetupInit, EarlyErrorsEscapeLaterOnesAreLineZero) {
  for (bool early : {true, false}) {
    TScriptRunner runner;
    TThrowingProduct product;
    product.failDetection = early;
    TSetupInit initialiser({.system = runner.system, .product = product});
    const TScriptContainer container(testing::MakeSections({testing::Trace("ran")}, Product()));
    TInterpreter interpreter(runner.engine, runner.host, runner.commands, {.initialiser = initialiser});
    if (early) {
      EXPECT_THROW(interpreter.Run(container, testing::kTestPackagePath), std::runtime_error);
      EXPECT_TRUE(runner.host.boxes.empty());
    } else {
      EXPECT_EQ(interpreter.Run(container, testing::kTestPackagePath), 0);
      EXPECT_EQ(runner.ErrorShown(), testing::RuntimeError(0, "component table damaged"));
    }
    EXPECT_EQ(runner.Trace(), "");
  }
}

}  // namespace
}  // namespace corvane
