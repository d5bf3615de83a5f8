// Block structure, labels and Wizard Loop contents.
#include "script/validation/tests/script_builder.h"

#include <gtest/gtest.h>

namespace corvane::test {
namespace {

constexpr const char* kInsufficient = "Insufficient END statements";
constexpr const char* kTooMany = "Too many END statements";
constexpr const char* kNestedLabel = "LABEL statements cannot be nested inside loops/conditionals";
constexpr const char* kElseWithoutIf = "ELSE statement without matching IF";
constexpr const char* kWizardContent = "Statements other than DISPLAY DIALOG not allowed inside WIZARD LOOP";

void ExpectCases(const std::vector<TCase>& cases) {
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.title);
    EXPECT_EQ(Validate(c.script), c.expected);
  }
}

TEST(ValidatorStructure, BalancesBlocksAndReportsAtTheLastLine) {
  ExpectCases({
      {"empty script", {}, Passed()},
      {"if else-if else end", {If("TITLE"), ElseIf("TITLE"), Else(), End()}, Passed()},
      {"nested ifs", {If("TITLE"), If("TITLE"), End(), End()}, Passed()},
      {"wizard loop closed", {WizardLoop(), Dialog("welcome"), End()}, Passed()},
      {"two ifs one end", {If("TITLE"), If("TITLE"), End()}, {2, kInsufficient}},
      {"one if two ends", {If("TITLE"), End(), End()}, {2, kTooMany}},
      {"too many ends, reported at the last line", {If("TITLE"), End(), End(), Set("A")}, {3, kTooMany}},
      {"open wizard loop", {WizardLoop(), Dialog("welcome"), Set("A")}, {2, kInsufficient}},
      {"disabled end does not close", {If("TITLE"), Off(End())}, {1, kInsufficient}},
      {"disabled if does not open", {Off(If("TITLE")), End()}, {1, kTooMany}},
      // Counts balance, yet the End closes nothing.
      {"end before its if", {End(), If("TITLE"), Set("A")}, {2, kTooMany}},
  });
}

TEST(ValidatorStructure, ElseNeedsAnOpenIf) {
  ExpectCases({
      {"else at top level", {Set("A"), Else()}, {1, kElseWithoutIf}},
      {"else if at top level", {ElseIf("TITLE")}, {0, kElseWithoutIf}},
      {"else after the block closed", {If("TITLE"), End(), Else(), End()}, {2, kElseWithoutIf}},
      {"else inside a disabled if", {Off(If("TITLE")), Else(), Off(End())}, {1, kElseWithoutIf}},
      {"disabled stray else", {Off(Else()), Set("A")}, Passed()},
      // Unreachable at run time, but not a structure fault.
      {"else if after else", {If("TITLE"), Else(), ElseIf("TITLE"), End()}, Passed()},
  });
}

TEST(ValidatorLabels, StandOnlyAtTopLevel) {
  ExpectCases({
      {"top-level label", {Label("start"), If("TITLE"), End(), GoTo("start")}, Passed()},
      {"label inside if", {If("TITLE"), Set("A"), Label("inner"), End()}, {2, kNestedLabel}},
      {"label inside wizard loop", {WizardLoop(), Label("page"), End()}, {1, kNestedLabel}},
      {"disabled if around label", {Off(If("TITLE")), Label("start"), Off(End())}, Passed()},
      {"disabled label inside if", {If("TITLE"), Off(Label("inner")), End()}, Passed()},
      // The structure pass meets the label before the count check runs.
      {"label in an unclosed if", {If("TITLE"), Label("x")}, {1, kNestedLabel}},
  });
}

TEST(ValidatorLabels, NamesAreUniqueAndGoToTargetsExist) {
  ExpectCases({
      {"same name in another case", {Label("Again"), Set("A"), Label("AGAIN")}, {2, "LABEL re-defined: AGAIN"}},
      {"disabled label still defines its name", {Off(Label("again")), Label("again")}, {1, "LABEL re-defined: again"}},
      {"undefined target", {Label("start"), GoTo("Finish")}, {1, "LABEL undefined: Finish"}},
      {"target in another case", {Label("start"), GoTo("START")}, Passed()},
      {"target only on a disabled label", {Off(Label("start")), GoTo("start")}, Passed()},
      {"forward jump", {GoTo("later"), Set("A"), Label("later")}, Passed()},
      {"empty target with no empty label", {GoTo("")}, {0, "LABEL undefined: "}},
      // Labels are collected before any command is checked.
      {"duplicate wins over an earlier bad goto", {GoTo("nowhere"), Label("x"), Label("X")}, {2, "LABEL re-defined: X"}},
  });
}

TEST(ValidatorWizardLoop, HoldsOnlyDialogs) {
  ExpectCases({
      {"dialogs, comments and ignores",
       {WizardLoop(), Dialog("welcome"), {"Comment", {"pages"}}, {"Ignore", {}}, Dialog("licence"), End()},
       Passed()},
      {"message box inside", {WizardLoop(), Dialog("welcome"), MessageBox(), End()}, {2, kWizardContent}},
      {"disabled message box inside", {WizardLoop(), Dialog("welcome"), Off(MessageBox()), End()}, Passed()},
      {"if inside", {WizardLoop(), If("TITLE"), Dialog("welcome"), End(), End()}, {1, kWizardContent}},
      {"wizard loop inside", {WizardLoop(), WizardLoop(), End(), End()}, {1, kWizardContent}},
      {"commands after the loop", {WizardLoop(), Dialog("welcome"), End(), MessageBox()}, Passed()},
      // Disabled lines do not open or close a loop.
      {"disabled end inside", {WizardLoop(), Dialog("welcome"), Off(End()), MessageBox(), End()}, {3, kWizardContent}},
      {"disabled wizard loop in an if", {If("TITLE"), Off(WizardLoop()), MessageBox(), End()}, Passed()},
      // The command pass runs first.
      {"bad dialog before a bad command",
       {WizardLoop(), Dialog(""), MessageBox(), End()},
       {1, "Dialog name not specified"}},
  });
}

}  // namespace
}  // namespace corvane::test
