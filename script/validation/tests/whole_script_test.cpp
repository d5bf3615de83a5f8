// Whole scripts: the predefined names, the per-line results, the names left
// behind, and a realistic installation that must pass.
#include "script/validation/predefined_names.h"
#include "script/validation/tests/script_builder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::test {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAreArray;

TEST(ValidatorPredefinedNames, AreTheRunsVariables) {
  const std::vector<std::string_view> expected = {
      "NOBRAND",     "TIME",          "DATE",         "NEWINSTANCE", "SELECTED",    "WINDOWHANDLE",
      "EXEDIR",      "EXEFILE",       "UNINSTALLLINK", "ABORT",      "SILENT",      "LOGGED",
      "CMDLINE",     "SFXPATH",       "SFXFILE",      "LASTERROR",   "PROGRESSMODE", "PROGRESSTEXT",
      "PROGRESS",    "LICENSE",       "USERNAME",     "USERCOMPANY", "REBOOTCOMPUTER", "RUNAPP",
      "WIZARD",      "VERSION",       "TARGETDIR",    "STARTMENU",   "ADVERTISE",   "ALLUSERS",
      "COMPLETE",    "MINIMUM",       "PERSONALIZED", "MODIFY",      "REPAIR",      "REMOVE",
      "DATADIR",     "PRODUCTCODE",   "REVISIONCODE", "ROOTDIR",     "MAINTENANCE", "NEEDSUPGRADE",
      "TITLE",       "COMPANY",       "TEMPDIR",      "SUPPORTDIR",  "MSIFILE",     "LANGUAGE"};
  EXPECT_THAT(PredefinedVariableNames(), UnorderedElementsAreArray(expected));
}

TEST(ValidatorPredefinedNames, AreKnownBeforeTheFirstLine) {
  for (std::string_view name : PredefinedVariableNames()) {
    SCOPED_TRACE(name);
    std::string lower(name);
    for (char& c : lower) {
      c = static_cast<char>(c - 'A' + 'a');
    }
    EXPECT_EQ(Validate({If(lower, "$" + std::string(name) + "$"), End(), {"Convert Path", {std::string(name)}}}),
              Passed());
  }
  EXPECT_EQ(Validate({If("INSTALLDIR"), End()}), (TOutcome{0, "Variable not defined: INSTALLDIR"}));
}

TEST(ValidatorLineResults, MarkEnabledDeferredCommands) {
  const TValidationResult result = ValidateScript(MakeScript({
      Set("A"),
      {"Install Files", {"app.exe", "FALSE|", "$TARGETDIR$"}},
      Off({"Write Registry", {}}),
      {"Create Shortcut", {"$TARGETDIR$\\app.exe", "App"}},
      {"Comment", {}},
      {"Install Service", {}},
  }));
  ASSERT_TRUE(result.Ok());
  EXPECT_THAT(result.lineResults, ElementsAre("SKIP", "FALSE", "SKIP", "FALSE", "SKIP", "FALSE"));
}

TEST(ValidatorKnownVariables, StartsEmptyAndKeepsWhatTheScriptDefines) {
  TKnownVariableSet names;
  names.Define("STALE");
  const TScriptContainer script = MakeScript({Set("choice"), If("STALE"), End()});
  EXPECT_EQ(ValidateScript(script, names).message, "Variable not defined: STALE");
  EXPECT_FALSE(names.Exists("STALE"));
  EXPECT_TRUE(names.Exists("Choice"));
  EXPECT_TRUE(names.Exists("supportdir"));
}

// A first-time installation as the build tool writes one, read back from
// container bytes.
TEST(ValidatorWholeScript, RealisticInstallationPasses) {
  const std::vector<TLine> lines = {
      {"Comment", {"Sample setup"}},
      {"Web Media Block", {"OFFLINE", "http://example.com/media/"}},
      Set("INSTALLTYPE", "typical"),
      {"Get System Settings", {"OSVERSION", "12"}},
      {"Read Registry", {"PREVIOUS", "2", "SOFTWARE\\Sample", "InstallDir"}},
      If("PREVIOUS", ""),
      {"Get Folder Location", {"PROGRAMS", "3", "FALSE"}},
      Set("TARGETDIR", "$PROGRAMS$\\Sample"),
      ElseIf("PREVIOUS", "none"),
      Else(),
      Set("TARGETDIR", "$PREVIOUS$"),
      End(),
      Label("wizard"),
      WizardLoop(),
      Dialog("welcome", "WIZARD"),
      Dialog("licence", "WIZARD", "LICENSE"),
      Off(MessageBox()),
      Dialog("folder", "WIZARD"),
      End(),
      If("WIZARD", "CANCEL"),
      MessageBox("ANSWER"),
      If("ANSWER", "NO"),
      GoTo("wizard"),
      End(),
      {"Terminate Install", {}},
      End(),
      Dialog("progress", "", ""),
      {"Install Files", {"bin\\sample.exe", "FALSE|", "$TARGETDIR$", "TRUE", "FALSE"}},
      {"Write Registry", {"2", "SOFTWARE\\Sample", "InstallDir", "$TARGETDIR$", ""}},
      {"Create Shortcut", {"$TARGETDIR$\\sample.exe", "Sample", "$STARTMENU$", "Run Sample", "", "", "", "", "0"}},
      {"Replace String", {"INSTALLTYPE", "typical", "full", "TRUE", "TRUE"}},
      {"Apply Changes", {"progress", "RESULT", "TRUE", "FALSE"}},
      {"Hide Dialog", {"progress"}},
      {"If", {"RESULT", "0", "COMPLETE", "TRUE"}},
      Dialog("finish_failed"),
      Else(),
      Dialog("finish", "WIZARD"),
      End(),
  };
  const TValidationResult result = ValidateScript(TScriptContainer::Parse(MakeScript(lines).Serialize()));
  EXPECT_EQ(result.index, -1);
  EXPECT_EQ(result.message, "Script compiled successfully");
}

}  // namespace
}  // namespace corvane::test
