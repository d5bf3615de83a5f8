#include "actions/string_commands.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "actions/tests/fake_system_queries.h"
#include "script/tests/script_fixture.h"

namespace corvane {
namespace {

using testing::RuntimeError;
using testing::Set;
using testing::TLine;

TLine ParseStringLine(std::string source, std::string separator, std::string first, std::string second,
                      std::string mode, std::string trim = "FALSE", std::string ignoreCase = "FALSE") {
  return {"Parse String", {std::move(source), std::move(separator), std::move(first), std::move(second),
                           std::move(mode), std::move(trim), std::move(ignoreCase)}};
}

class StringCommandsTest : public ::testing::Test {
protected:
  explicit StringCommandsTest(TStartOptions options = {}) : runner(std::move(options)) {
    RegisterStringCommands(runner.commands, services);
  }

  std::vector<std::string> VariableNames() const {
    std::vector<std::string> names;
    for (const TVariable& variable : runner.engine.store.Variables()) {
      names.push_back(variable.name);
    }
    return names;
  }
  bool HasVariableNamed(std::string_view name) const {
    const std::vector<std::string> names = VariableNames();
    return std::ranges::find(names, name) != names.end();
  }

  testing::TFakeSystemQueries system;
  TStringCommandServices services{.system = system};
  testing::TScriptRunner runner;
};

TEST_F(StringCommandsTest, NamedResultDropsTheDollarSignsAndUpperCasesTheName) {
  system.environment = {{"WHERE", "here"}};
  runner.Run({{"Get Environment", {"WHERE", "$where$"}},
              {"Get Environment", {"WHERE", "bare"}},
              {"Get Environment", {"WHERE", "$not$one"}}});
  EXPECT_EQ(runner.Value("WHERE"), "here");
  EXPECT_EQ(runner.Value("BARE"), "here");
  EXPECT_EQ(runner.Value("$NOT$ONE"), "here");
  EXPECT_TRUE(HasVariableNamed("WHERE") && HasVariableNamed("BARE") && !HasVariableNamed("where"));
  EXPECT_EQ(runner.ErrorShown(), "");
}

TEST_F(StringCommandsTest, PlainResultTakesTheNameAsWritten) {
  runner.Run({Set("FIRST", "old"), ParseStringLine("a=b", "=", "first", "$Second$", "0"),
              ParseStringLine("c=d", "=", "Third", "", "0")});
  EXPECT_EQ(runner.Value("FIRST"), "a");          // the existing variable, in any letter case
  EXPECT_EQ(runner.Value("$SECOND$"), "b");       // no "$" removal
  EXPECT_EQ(runner.Value("THIRD"), "c");
  EXPECT_TRUE(HasVariableNamed("$SECOND$") && HasVariableNamed("THIRD"));
  EXPECT_FALSE(HasVariableNamed(""));             // an empty line stores nothing
  EXPECT_EQ(runner.ErrorShown(), "");
}

TEST_F(StringCommandsTest, InPlaceReadsAndWritesTheSameVariable) {
  runner.Run({Set("NAME", "Mixed"), {"Convert Case", {"$name$", "TRUE"}}, Set("OTHER", "Mixed"),
              {"Convert Case", {"other", "FALSE"}}});
  EXPECT_EQ(runner.Value("NAME"), "MIXED");
  EXPECT_EQ(runner.Value("OTHER"), "mixed");
}

TEST_F(StringCommandsTest, ResultsRespectTheCommandLineInASilentRun) {
  testing::TScriptRunner silent(TStartOptions{.silent = true, .overrides = {{"OUT", "from command line"}}});
  RegisterStringCommands(silent.commands, services);
  silent.Run({{"Get Environment", {"WHERE", "OUT"}}, {"Mathematics", {"1", "2", "0", "out"}}});
  EXPECT_EQ(silent.Value("OUT"), "from command line");
}

// Each of these ends the script at its line, with the reason shown.
struct TScriptErrorCase {
  std::string name;
  std::vector<TLine> lines;
  std::string message;
};

TEST_F(StringCommandsTest, ScriptErrorsEndTheRun) {
  const std::vector<TScriptErrorCase> cases = {
      {"parse mode", {Set("X", "1"), ParseStringLine("a=b", "=", "P", "Q", "zero")},
       "'zero' is not a valid integer value"},
      {"extract code", {Set("X", "C:\\a"), {"Extract Path", {"X", "three"}}}, "'three' is not a valid integer value"},
      {"version part", {Set("X", "1"), {"Check File Version", {"R", "C:\\f.dll", "FALSE", "", "1..2"}}},
       "'' is not a valid integer value"},
      {"in-place variable", {Set("X", "1"), {"Convert Case", {"MISSING", "TRUE"}}},
       "Attempting to get value of undefined variable MISSING"},
      {"replace variable", {Set("X", "1"), {"Replace String", {"$GONE$", "a", "b", "FALSE", "FALSE"}}},
       "Attempting to get value of undefined variable GONE"},
  };
  for (const TScriptErrorCase& c : cases) {
    testing::TScriptRunner run;
    RegisterStringCommands(run.commands, services);
    std::vector<TLine> lines = c.lines;
    lines.push_back(Set("AFTER", "ran"));
    run.Run(lines);
    EXPECT_EQ(run.ErrorShown(), RuntimeError(2, c.message)) << c.name;
    EXPECT_EQ(run.Value("AFTER"), "<undefined>") << c.name;
  }
}

TEST_F(StringCommandsTest, ParseStringNormalisesTrimsAndIgnoresCase) {
  runner.Run({Set("SRC", "C:\\\\dir\\\\file"), ParseStringLine("$SRC$", "\\", "FOLDER", "NAME", "1"),
              Set("PADDED", " key = value "), ParseStringLine("$PADDED$", "=", "KEY", "VALUE", "0", "TRUE"),
              ParseStringLine("ONExTWO", "X", "LEFT", "RIGHT", "0", "FALSE", "-1")});
  EXPECT_EQ(runner.Value("FOLDER"), "C:\\dir");
  EXPECT_EQ(runner.Value("NAME"), "file");
  EXPECT_EQ(runner.Value("KEY"), "key");
  EXPECT_EQ(runner.Value("VALUE"), "value");
  EXPECT_EQ(runner.Value("LEFT"), "ONE");
  EXPECT_EQ(runner.Value("RIGHT"), "TWO");
}

TEST_F(StringCommandsTest, ReplaceStringSubstitutesFindAndReplacement) {
  runner.Run({Set("FIND", "a"), Set("BY", "b"), Set("TEXT", "aAa"),
              {"Replace String", {"TEXT", "$FIND$", "$BY$", "TRUE", "TRUE"}},
              Set("TEXT2", "aAa"), {"Replace String", {"TEXT2", "a", "b", "FALSE", "FALSE"}}});
  EXPECT_EQ(runner.Value("TEXT"), "bbb");
  EXPECT_EQ(runner.Value("TEXT2"), "bAa");
}

TEST_F(StringCommandsTest, ConvertCaseWorksOnTheNormalisedValue) {
  // The token stays in the value until Convert Case substitutes it.
  runner.Run({Set("VALUE", "$LATER$\\\\x"), Set("LATER", "y"), {"Convert Case", {"VALUE", "TRUE"}}});
  EXPECT_EQ(runner.Value("VALUE"), "Y\\X");
}

TEST_F(StringCommandsTest, ConvertPathGivesShortAndLongForms) {
  system.shortPaths = {{"C:\\PROGRAM FILES\\MY APP", "C:\\PROGRA~1\\MYAPP~1"}};
  system.entries = {{"C:\\PROGRA~1", "Program Files"}, {"C:\\PROGRA~1\\MYAPP~1", "My App"}};
  runner.Run({Set("SHORT", "C:\\\\Program Files\\\\My App"), {"Convert Path", {"SHORT", "TRUE"}},
              Set("LONG", "c:\\progra~1\\myapp~1\\"), {"Convert Path", {"LONG", "FALSE"}},
              Set("NONE", "C:\\nothing"), {"Convert Path", {"NONE", "TRUE"}},
              Set("NONE2", "C:\\nothing"), {"Convert Path", {"NONE2", "FALSE"}}});
  EXPECT_EQ(runner.Value("SHORT"), "C:\\PROGRA~1\\MYAPP~1");
  EXPECT_EQ(runner.Value("LONG"), "c:\\Program Files\\My App");
  EXPECT_EQ(runner.Value("NONE"), "");
  EXPECT_EQ(runner.Value("NONE2"), "");
}

TEST_F(StringCommandsTest, ExtractPathReplacesTheValueByAPart) {
  runner.Run({Set("P", "\\\\host\\share\\\\dir\\file.txt"), {"Extract Path", {"P", "5"}},
              Set("Q", "C:\\dir\\file.tar.gz"), {"Extract Path", {"$Q$", "1"}},
              Set("R", "C:\\dir\\file"), {"Extract Path", {"R", "9"}}});
  EXPECT_EQ(runner.Value("P"), "\\\\host\\share\\");
  EXPECT_EQ(runner.Value("Q"), "file.tar");
  EXPECT_EQ(runner.Value("R"), "C:\\dir\\file");
}

TEST_F(StringCommandsTest, MathematicsSubstitutesOperandsAndFailsToEmpty) {
  runner.Run({Set("A", "40"), Set("B", "2"), {"Mathematics", {"$A$", "$B$", "0", "SUM"}},
              Set("QUOTIENT", "old"), {"Mathematics", {"$A$", "0", "3", "quotient"}},
              {"Mathematics", {"$A$", "$B$", "2", ""}}});
  EXPECT_EQ(runner.Value("SUM"), "42");
  EXPECT_EQ(runner.Value("QUOTIENT"), "");
  EXPECT_FALSE(HasVariableNamed(""));
}

TEST_F(StringCommandsTest, GeneratorLastsAcrossRuns) {
  runner.Run({{"Mathematics", {"5", "3", "13", "R"}}, {"Mathematics", {"7", "", "14", "R"}},
              {"Mathematics", {"10", "", "15", "R"}}});
  EXPECT_EQ(runner.Value("R"), "8");
  testing::TScriptRunner second;
  RegisterStringCommands(second.commands, services);
  second.Run({{"Mathematics", {"10", "", "15", "R"}}});
  EXPECT_EQ(second.Value("R"), "3");
}

TEST_F(StringCommandsTest, GetEnvironmentLeavesUnknownNamesEnclosed) {
  system.environment = {{"PATHEXT", ".COM;.EXE"}};
  runner.Run({Set("WHICH", "PATHEXT"), {"Get Environment", {"$WHICH$", "EXT"}},
              {"Get Environment", {"NOT_SET_ANYWHERE", "UNKNOWN"}}});
  EXPECT_EQ(runner.Value("EXT"), ".COM;.EXE");
  EXPECT_EQ(runner.Value("UNKNOWN"), "%NOT_SET_ANYWHERE%");
}

TEST_F(StringCommandsTest, FileVersionsAreReadAndCompared) {
  system.versions = {{"C:\\app\\new.dll", TFileVersion{1, 2, 3, 4}}, {"C:\\app\\old.dll", TFileVersion{1, 2, 2, 9}}};
  runner.Run({Set("DIR", "C:\\\\app"),
              {"Get File Version", {"$DIR$\\new.dll", "VERSION"}},
              {"Get File Version", {"C:\\app\\missing.dll", "MISSING"}},
              {"Check File Version", {"SAME", "$DIR$\\new.dll", "FALSE", "", "1.2.3.4"}},
              {"Check File Version", {"FROM_VARIABLE", "$DIR$\\new.dll", "FALSE", "", "$VERSION$"}},
              {"Check File Version", {"THAN_FILE", "C:\\app\\new.dll", "TRUE", "$DIR$\\old.dll", "9.9"}},
              {"Check File Version", {"OLDER", "C:\\app\\old.dll", "TRUE", "C:\\app\\new.dll", ""}},
              {"Check File Version", {"NO_FILE", "C:\\app\\missing.dll", "FALSE", "", "0"}}});
  EXPECT_EQ(runner.Value("VERSION"), "1.2.3.4");
  EXPECT_EQ(runner.Value("MISSING"), "0.0.0.0");
  EXPECT_EQ(runner.Value("SAME"), "FALSE");
  EXPECT_EQ(runner.Value("FROM_VARIABLE"), "FALSE");
  EXPECT_EQ(runner.Value("THAN_FILE"), "TRUE");
  EXPECT_EQ(runner.Value("OLDER"), "FALSE");
  EXPECT_EQ(runner.Value("NO_FILE"), "FALSE");
  runner.Run({{"Check File Version", {"R", "C:\\app\\new.dll", "FALSE", "", "1.2.3"}}});
  EXPECT_EQ(runner.Value("R"), "TRUE");
}

TEST_F(StringCommandsTest, TemporaryFileIsMadeInTheTemporaryFolder) {
  runner.Run({{"Get Temporary File", {"$TMPFILE$"}}});
  EXPECT_EQ(runner.Value("TMPFILE"), "C:\\Temp\\kel1A.tmp");
  system.creatableFolder = "D:\\";
  runner.Run({Set("TMPFILE", "old"), {"Get Temporary File", {"TMPFILE"}}});
  EXPECT_EQ(runner.Value("TMPFILE"), "");
}

}  // namespace
}  // namespace corvane
