// The string commands as an author writes them: compiled from script
// source and run by the interpreter, results feeding later lines.
#include <gtest/gtest.h>

#include "actions/string_commands.h"
#include "actions/tests/fake_system_queries.h"
#include "script/tests/script_fixture.h"
#include "tools/corvane-script/source_compiler.h"

namespace corvane {
namespace {

TEST(AuthoredStringCommands, ResultsFeedTheLinesAfterThem) {
  testing::TFakeSystemQueries system;
  TStringCommandServices services{.system = system};
  testing::TScriptRunner runner;
  RegisterStringCommands(runner.commands, services);
  const TScriptContainer container(authoring::CompileSource(R"(script:
  Set Variable
    NAME
    corvane setup
  Convert Case
    NAME
    TRUE
  Parse String
    $NAME$
    |a |
    FIRST
    SECOND
    0
    FALSE
    FALSE
  Mathematics
    40
    2
    0
    SUM
  Replace String
    NAME
    SETUP
    WIZARD
    FALSE
    FALSE
  Terminate with Exit Code
    $SUM$
)",
                                                                 "authored.cvscript"));
  TInterpreter interpreter(runner.engine, runner.host, runner.commands, {.initialiser = runner.initialiser});
  EXPECT_EQ(interpreter.Run(container, testing::kTestPackagePath), 42);
  EXPECT_EQ(runner.Value("NAME"), "CORVANE WIZARD");
  EXPECT_EQ(runner.Value("SUM"), "42");
  EXPECT_TRUE(runner.ErrorShown().empty()) << runner.ErrorShown();
}

}  // namespace
}  // namespace corvane
