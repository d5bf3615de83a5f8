// Block structure, labels and the Wizard Loop, run through the interpreter.
#include <gtest/gtest.h>

#include <deque>
#include <ostream>

#include "script/control_flow.h"
#include "script/dialog_display.h"
#include "script/tests/script_fixture.h"

namespace corvane::testing {
namespace {

TEST(Condition, ComparesNumbersWhenBothSidesAreIntegers) {
  struct Case {
    const char* left;
    const char* op;
    const char* right;
    bool expected;
  } cases[] = {
      {"12", "1", "2", false},  {"abc", "1", "b", true},   {"12", "0", "12", true},  {"012", "0", "12", true},
      {"12", "2", "9", true},   {"12", "2", "12", false},  {"-3", "2", "-4", true},  {"abc", "0", "ABC", false},
      {"abc", "2", "abb", true}, {"ab", "2", "abc", false}, {"\xe9", "2", "z", true}, {"10", "2", "9x", false},
      {"abc", "1", "", true},   {"1", "3", "1", false},    {"a", "", "a", false},    {"2147483648", "0", "2147483648", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CompareCondition(c.left, c.op, c.right), c.expected) << c.left << " " << c.op << " " << c.right;
  }
}

struct FlowCase {
  const char* title;
  std::vector<TLine> script;
  std::string trace;
};

void PrintTo(const FlowCase& flowCase, std::ostream* out) { *out << flowCase.title; }

class Flow : public ::testing::TestWithParam<FlowCase> {};

TEST_P(Flow, RunsTheRightBranches) {
  TScriptRunner runner;
  runner.Run(GetParam().script);
  EXPECT_EQ(runner.ErrorShown(), "");
  EXPECT_EQ(runner.Trace(), GetParam().trace);
}

const TLine kYes = Set("YES", "1");
const TLine kNo = Set("NO", "0");

INSTANTIATE_TEST_SUITE_P(
    Blocks, Flow,
    ::testing::Values(
        FlowCase{"IfFalseElseIfTrue",
                 {kYes, If("YES", "0", "0"), Trace("a"), ElseIf("YES", "0", "1"), Trace("b"), Else(), Trace("c"),
                  End(), Trace(".")},
                 "b."},
        FlowCase{"IfTrueSkipsElseIfAndElse",
                 {kYes, If("YES", "0", "1"), Trace("a"), ElseIf("YES", "0", "1"), Trace("b"), Else(), Trace("c"),
                  End(), Trace(".")},
                 "a."},
        FlowCase{"AllFalseRunsElse",
                 {kYes, If("YES", "0", "2"), Trace("a"), ElseIf("YES", "0", "3"), Trace("b"), Else(), Trace("c"),
                  End(), Trace(".")},
                 "c."},
        FlowCase{"NegatedCondition", {kYes, If("$YES$", "0", "1", "TRUE"), Trace("a"), End(), Trace(".")}, "."},
        FlowCase{"NestedInsideTakenBranch",
                 {kYes, If("YES", "0", "1"), If("YES", "0", "0"), Trace("a"), ElseIf("YES", "0", "1"), Trace("b"),
                  Else(), Trace("c"), End(), Trace("d"), Else(), Trace("e"), End(), Trace(".")},
                 "bd."},
        FlowCase{"NestedTakenFirstBranch",
                 {kYes, If("YES", "0", "1"), If("YES", "0", "1"), Trace("a"), ElseIf("YES", "0", "1"), Trace("b"),
                  Else(), Trace("c"), End(), Trace("d"), Else(), Trace("e"), End(), Trace(".")},
                 "ad."},
        FlowCase{"SearchSkipsNestedBlocksAndLoops",
                 {kYes, If("YES", "0", "0"), If("YES", "0", "1"), Else(), End(), {"Wizard Loop", {}}, End(),
                  Trace("a"), Else(), Trace("b"), End(), Trace(".")},
                 "b."},
        FlowCase{"DisabledEndIsIgnored",
                 {kYes, If("YES", "0", "0"), Trace("a"), Disabled(End()), Trace("b"), End(), Trace(".")}, "."},
        FlowCase{"DisabledElseIsIgnored",
                 {kYes, If("YES", "0", "0"), Trace("a"), Disabled(Else()), Trace("b"), Else(), Trace("c"), End()},
                 "c"},
        FlowCase{"GoToFromTakenBranchLeavesNoBlockOpen",
                 {kYes, If("YES", "0", "1"), GoTo("next"), End(), Label("NEXT"), ElseIf("YES", "0", "1"),
                  Trace("a"), End(), Trace(".")},
                 "a."},
        FlowCase{"FinishedBlocksLeaveNoBranchOpen",
                 {kYes, If("YES", "0", "1"), Trace("a"), Else(), Trace("b"), End(), If("YES", "0", "1"), Trace("c"),
                  ElseIf("YES", "0", "1"), Trace("d"), End(), ElseIf("YES", "0", "1"), Trace("e"), End(), Trace(".")},
                 "ace."},
        FlowCase{"GoToLoopsBack",
                 {Set("N", ""), Label("Top"), Set("N", "$N$x"), Trace("$N$,"), If("N", "0", "xxx", "TRUE"),
                  GoTo("TOP"), End(), Trace(".")},
                 "x,xx,xxx,."},
        FlowCase{"DisabledAndIgnoredCommandsAreSkipped",
                 {Trace("a"), Disabled(Trace("b")), {"Ignore", {"Trace", "c"}}, {"Code Folding Region", {}},
                  {"Comment", {"anything"}}, Trace("d")},
                 "ad"},
        FlowCase{"ElseIfTrueAfterFalseElseIf",
                 {kYes, If("YES", "0", "0"), Trace("a"), ElseIf("YES", "0", "0"), Trace("b"),
                  ElseIf("YES", "0", "1"), Trace("c"), ElseIf("YES", "0", "1"), Trace("d"), End(), Trace(".")},
                 "c."}),
    [](const ::testing::TestParamInfo<FlowCase>& testInfo) { return testInfo.param.title; });

TEST(FlowErrors, SearchesPastTheLastCommandEndTheRun) {
  struct Case {
    std::vector<TLine> script;
    std::size_t line;
  } cases[] = {
      {{kNo, If("NO", "0", "1"), Trace("a")}, 2},
      {{kYes, If("YES", "0", "1"), Trace("a"), Else(), Trace("b")}, 4},
      {{kNo, If("NO", "0", "1")}, 2},
      {{{"Wizard Loop", {}}, {"Display Dialog", {}}}, 2},
  };
  for (const Case& c : cases) {
    TScriptRunner runner;
    runner.Run(c.script);
    EXPECT_EQ(runner.ErrorShown().substr(0, RuntimeError(c.line, "").size()), RuntimeError(c.line, ""));
    EXPECT_NE(runner.ErrorShown().find("ran past the last command"), std::string::npos) << runner.ErrorShown();
    EXPECT_EQ(runner.Trace(), c.line == 4 ? "a" : "");
  }
}

TEST(FlowErrors, IfOnAnUndefinedVariableReportsTheLine) {
  TScriptRunner runner;
  runner.Run({Trace("a"), If("$NEVER$", "0", "1"), Trace("b"), End(), Trace("c")});
  EXPECT_EQ(runner.ErrorShown(), RuntimeError(2, "Attempting to get value of undefined variable NEVER"));
  EXPECT_EQ(runner.Trace(), "a");
}

// A dialog layer that answers from a list and records which lines it showed.
class TScriptedDialogs : public TDialogDisplay {
public:
  explicit TScriptedDialogs(std::deque<int> answers) : answers_(std::move(answers)) {}
  int DisplayDialog(TRunContext& run) override {
    shown += run.Line(1);
    const int answer = answers_.empty() ? kDisplayNext : answers_.front();
    if (!answers_.empty()) answers_.pop_front();
    if (answer != kDisplaySkipped) run.StoreResult("WIZARD", answer == kDisplayBack ? "BACK" : "NEXT");
    return answer;
  }
  std::string shown;

private:
  std::deque<int> answers_;
};

TLine Page(std::string name) { return {"Display Dialog", {std::move(name), "WIZARD", "TRUE"}}; }

TEST(WizardLoop, StepsByTheDirectionOfEachDisplay) {
  struct Case {
    const char* title;
    std::vector<TLine> loop;
    std::deque<int> answers;
    std::string shown;
  } cases[] = {
      {"NextNext", {Page("A"), Page("B")}, {kDisplayNext, kDisplayNext}, "AB"},
      {"BackOnSecond", {Page("A"), Page("B")}, {kDisplayNext, kDisplayBack, kDisplayNext, kDisplayNext}, "ABAB"},
      {"BackOnFirst", {Page("A"), Page("B")}, {kDisplayBack}, "A"},
      {"CancelLeavesAtOnce", {Page("A"), Page("B"), Disabled(End()), Page("C")}, {kDisplayNext, kDisplayCancel}, "AB"},
      {"NamedResultKeepsDirection", {Page("A"), Page("B")}, {kDisplayNext, kDisplayBack, kDisplayNamed}, "ABA"},
      {"SkippedPageKeepsStepping",
       {Page("A"), Page("B"), Page("C")},
       {kDisplayNext, kDisplayNext, kDisplayBack, kDisplaySkipped, kDisplayNext, kDisplayNext, kDisplayNext},
       "ABCBABC"},
      {"PassesOverDisabledAndComments",
       {Page("A"), Disabled(Page("X")), {"Comment", {}}, Disabled(End()), Page("B")},
       {kDisplayNext, kDisplayNext},
       "AB"},
  };
  for (const Case& c : cases) {
    std::vector<TLine> script = {Trace("<"), {"Wizard Loop", {}}};
    script.insert(script.end(), c.loop.begin(), c.loop.end());
    script.insert(script.end(), {End(), Trace(">")});
    TScriptRunner runner;
    TScriptedDialogs dialogs(c.answers);
    RegisterDisplayDialog(runner.commands, dialogs);
    runner.Run(script);
    EXPECT_EQ(runner.ErrorShown(), "") << c.title;
    EXPECT_EQ(dialogs.shown, c.shown) << c.title;
    EXPECT_EQ(runner.Trace(), "<>") << c.title;  // the loop's End runs, then what follows
  }
}

TEST(WizardLoop, DisplayOutsideALoopLeavesTheFlowAlone) {
  TScriptRunner runner;
  TScriptedDialogs dialogs({kDisplayBack});
  RegisterDisplayDialog(runner.commands, dialogs);
  runner.Run({Page("A"), Trace("a")});
  EXPECT_EQ(dialogs.shown, "A");
  EXPECT_EQ(runner.Trace(), "a");
  EXPECT_EQ(runner.Value("WIZARD"), "BACK");
}

}  // namespace
}  // namespace corvane::testing
