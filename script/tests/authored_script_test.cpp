// Scripts as authors write them, compiled by the authoring tool's compiler
// and run by the interpreter: the whole path a setup's script takes.
#include <gtest/gtest.h>

#include "script/tests/script_fixture.h"
#include "tools/corvane-script/source_compiler.h"

namespace corvane {
namespace {

struct TAuthoredRun {
  testing::TScriptRunner runner{TStartOptions{.silent = true}};
  int exitCode = 0;

  explicit TAuthoredRun(std::string_view source) {
    const TScriptContainer container(authoring::CompileSource(source, "authored.cvscript"));
    TInterpreter interpreter(runner.engine, runner.host, runner.commands, {.initialiser = runner.initialiser});
    exitCode = interpreter.Run(container, testing::kTestPackagePath);
  }
};

TEST(AuthoredScript, BranchesLoopsAndEndsWithItsExitCode) {
  TAuthoredRun run(R"(title: Authored
script:
  Set Variable
    COUNT
    0
  Label
    AGAIN
  If
    COUNT
    0
    3
    FALSE
  Terminate with Exit Code
    1$COUNT$
  Else If
    COUNT
    0
    0
    FALSE
  Set Variable
    COUNT
    1
  Else
  Set Variable
    COUNT
    3
  End
  Comment
    jump back until COUNT reaches 3
  GoTo Label
    AGAIN
)");
  EXPECT_EQ(run.exitCode, 13);
  EXPECT_EQ(run.runner.Value("COUNT"), "3");
}

TEST(AuthoredScript, DisabledLinesAndUnknownCommandsAreSkipped) {
  TAuthoredRun run(R"(script:
  Set Variable
    A
    kept
  Set Variable [disabled]
    A
    disabled
  Code Folding Region
    anything
  Terminate Install
  Set Variable
    A
    after the end
)");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.runner.Value("A"), "kept");
}

TEST(AuthoredScript, UndefinedVariableStopsTheRunAtItsLine) {
  TAuthoredRun run(R"(script:
  Set Variable
    A
    1
  If
    NEVER_DEFINED
    0
    1
    FALSE
  End
)");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.runner.Value("A"), "1");
  EXPECT_TRUE(run.runner.host.boxes.empty());  // silent: reported nowhere
}

}  // namespace
}  // namespace corvane
