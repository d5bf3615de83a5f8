// The checks of the command pass: required lines, defined variables, and the
// lines each command defines for the lines after it.
#include "script/validation/tests/script_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane::test {
namespace {

constexpr const char* kRequired = "Variable required";
constexpr const char* kNoTarget =
    "A target folder must be specified for files that are being installed.\r"
    "The value $TARGETDIR$ represents the destination folder chosen by the user.";

void ExpectCases(const std::vector<TCase>& cases) {
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(Validate(c.script), c.expected);
  }
}

TEST(ValidatorCommands, ConditionsNeedDefinedVariables) {
  ExpectCases({
      {"predefined variable, literal value", {If("TITLE", "Sample"), End()}, Passed()},
      {"token forms and any case", {If("$title$", "$SupportDir$"), End()}, Passed()},
      {"empty variable", {If(""), End()}, {0, kRequired}},
      {"undefined variable", {If("INSTALLDIR"), End()}, {0, "Variable not defined: INSTALLDIR"}},
      {"undefined variable as token", {If("$INSTALLDIR$"), End()}, {0, "Variable not defined: $INSTALLDIR$"}},
      {"value token of an undefined variable", {If("TITLE", "$NOPE$"), End()}, {0, "Variable not defined: $NOPE$"}},
      {"both undefined: the value is reported", {If("A", "$B$"), End()}, {0, "Variable not defined: $B$"}},
      {"value with more than one token is text", {If("TITLE", "$A$ and $B$"), End()}, Passed()},
      {"value with a lone dollar is text", {If("TITLE", "costs $5"), End()}, Passed()},
      {"defined by an earlier line", {Set("Choice", "1"), If("CHOICE"), End()}, Passed()},
      {"defined only by a later line", {If("CHOICE"), End(), Set("CHOICE", "1")}, {0, "Variable not defined: CHOICE"}},
      {"defined by a disabled line", {Off(Set("CHOICE")), If("CHOICE"), End()}, {1, "Variable not defined: CHOICE"}},
      {"else if is checked too", {If("TITLE"), ElseIf("MISSING"), End()}, {1, "Variable not defined: MISSING"}},
      // Defined names are taken as written, so "$X$" defines a name with the signs.
      {"set as token, read bare", {Set("$X$"), If("X"), End()}, {1, "Variable not defined: X"}},
      {"set as token, read as token", {Set("$X$"), If("$X$"), End()}, Passed()},
  });
}

TEST(ValidatorCommands, RequiredParameters) {
  const TLine installFiles = {"Install Files", {"app.exe", "FALSE|", "$TARGETDIR$"}};
  ExpectCases({
      {"install files with target", {installFiles}, Passed()},
      {"install files without target", {{"Install Files", {"app.exe", "FALSE|", ""}}}, {0, kNoTarget}},
      {"dialog without name", {Set("A"), Dialog("")}, {1, "Dialog name not specified"}},
      {"dialog condition undefined", {Dialog("welcome", "", "$SHOWIT$")}, {0, "Variable not defined: $SHOWIT$"}},
      {"dialog condition defined", {Dialog("welcome", "", "PERSONALIZED")}, Passed()},
      // Line 2 is defined before line 4 is checked.
      {"dialog condition is its own result", {Dialog("welcome", "PAGE", "PAGE")}, Passed()},
      {"msi setup installed without result", {{"Is MSI Setup Installed", {"{CODE}", ""}}}, {0, kRequired}},
      {"find all files without result", {{"Find All Files", {"C:\\*.txt", "TRUE", "FALSE", ""}}}, {0, kRequired}},
      {"disk space without result", {{"Check Disk Space", {"", "C:\\", "TRUE"}}}, {0, kRequired}},
      {"disabled line is not checked", {Off({"Install Files", {}})}, Passed()},
      {"comment is not checked", {{"Comment", {"", "", ""}}, {"Comment", {}}}, Passed()},
      {"unknown command passes", {{"Code Folding Region", {}}}, Passed()},
      {"first failure wins", {Dialog(""), If(""), End()}, {0, "Dialog name not specified"}},
  });
}

TEST(ValidatorCommands, DeleteFilesNeedsADeleteMode) {
  const auto deleteFiles = [](std::string mode3, std::string mode4) {
    return std::vector<TLine>{{"Delete Files", {"$TARGETDIR$\\old.txt", "", std::move(mode3), std::move(mode4)}}};
  };
  const TOutcome noMode = {0, "At least one delete mode must be selected"};
  ExpectCases({
      {"both false", deleteFiles("FALSE", "FALSE"), noMode},
      {"line 3 true in lower case", deleteFiles("true", "FALSE"), Passed()},
      {"line 4 minus one", deleteFiles("FALSE", "-1"), Passed()},
      {"other texts are false", deleteFiles("YES", "1"), noMode},
      {"both missing", {{"Delete Files", {"x"}}}, noMode},
  });
}

TEST(ValidatorCommands, WebMediaBlockNameAndUrl) {
  const auto block = [](std::string name, std::string url) {
    return std::vector<TLine>{{"Web Media Block", {std::move(name), std::move(url)}}};
  };
  const TOutcome illegal = {0, "Web Media Block name must be a legal file name"};
  const TOutcome noUrl = {0, "Web Media Block must have a download URL"};
  ExpectCases({
      {"plain name", block("OFFLINE", "http://example.com/media/"), Passed()},
      {"folder part is not checked", block("C:\\media\\part1", "http://x/"), Passed()},
      {"empty name ends a block", block("", ""), Passed()},
      {"slash", block("media/part1", "http://x/"), illegal},
      {"after the last colon", block("a:b*c", "http://x/"), illegal},
      {"question mark", block("part?", "http://x/"), illegal},
      {"double quote", block("\"part\"", "http://x/"), illegal},
      {"angle brackets and bar", block("x\\<a|b>", "http://x/"), illegal},
      {"name without url", block("OFFLINE", ""), noUrl},
      {"both fail: the url is reported", block("bad/name", ""), noUrl},
  });
}

TEST(ValidatorCommands, InPlaceCommandsNeedABareDefinedName) {
  for (const char* command : {"Convert Path", "Convert Case", "Extract Path", "Replace String"}) {
    SCOPED_TRACE(command);
    const TLine inPlace = {command, {"PATH", "1"}};
    EXPECT_EQ(Validate({Set("Path", "C:\\x"), inPlace}), Passed());
    EXPECT_EQ(Validate({inPlace}), (TOutcome{0, "Variable not defined: PATH"}));
    EXPECT_EQ(Validate({Set("PATH"), {command, {"$PATH$"}}}), (TOutcome{1, "Variable not defined: $PATH$"}));
  }
}

// For each command that defines variables, exactly the listed lines define
// one: a later "If" on the name written at every other line fails.
TEST(ValidatorCommands, DefinedLinesPerCommand) {
  struct TDefines {
    std::string command;
    std::vector<std::size_t> lines;
  };
  const std::vector<TDefines> table = {
      {"Is MSI Setup Installed", {2}}, {"Find All Files", {4}},         {"Check Disk Space", {1}},
      {"Get Folder Location", {1}},    {"Get INI File Settings", {1}},  {"Check File Version", {1}},
      {"Get System Settings", {1}},    {"Read Registry", {1}},          {"Does File/Folder Exist", {1}},
      {"Set Variable", {1}},           {"Get Temporary File", {1}},     {"IIS Anonymous User", {1}},
      {"Apply Patch", {1}},            {"Run Light Mode Setup", {2}},   {"Get File Version", {2}},
      {"Get Environment", {2}},        {"Get IIS Site Index", {2}},     {"Check Process", {2}},
      {"Apply Changes", {2}},          {"Get Component State", {2}},    {"Extract 7Zip Archive", {3}},
      {"Check Service", {3}},          {"Register Library", {3}},       {"Mathematics", {4}},
      {"Run Program", {5}},            {"MessageBox", {5}},             {"Get IIS Property", {6}},
      {"Run Program As", {8}},         {"Read from Text File", {2, 3}}, {"Parse String", {3, 4}},
      {"Display Dialog", {2}},         {"Write Registry", {}},          {"Check Registry", {}},
  };
  constexpr std::size_t kLines = 9;
  for (const TDefines& row : table) {
    std::vector<std::string> parameters;
    for (std::size_t n = 1; n <= kLines; ++n) {
      parameters.push_back("r" + std::to_string(n));
    }
    if (row.command == "Display Dialog") {
      parameters[3].clear();  // its line 4 must name a variable
    }
    for (std::size_t n = 1; n <= kLines; ++n) {
      SCOPED_TRACE(row.command + ", line " + std::to_string(n));
      const bool defines = std::find(row.lines.begin(), row.lines.end(), n) != row.lines.end();
      const TOutcome expected = defines ? Passed() : TOutcome{1, "Variable not defined: R" + std::to_string(n)};
      EXPECT_EQ(Validate({{row.command, parameters}, If("R" + std::to_string(n)), End()}), expected);
    }
  }
}

}  // namespace
}  // namespace corvane::test
