// Small scripts for the validator tests, one TLine per script line.
#pragma once

#include "launcher/script_container.h"
#include "script/validation/validator.h"

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

namespace corvane::test {

struct TLine {
  std::string name;
  std::vector<std::string> parameters;
  bool disabled = false;
};

TLine Off(TLine line);

TLine If(std::string variable, std::string value = "x");
TLine ElseIf(std::string variable, std::string value = "x");
TLine Else();
TLine End();
TLine Set(std::string variable, std::string value = "");
TLine Label(std::string name);
TLine GoTo(std::string name);
TLine WizardLoop();
TLine Dialog(std::string name, std::string resultVariable = "", std::string conditionVariable = "");
TLine MessageBox(std::string resultVariable = "");

// Parameter blocks follow script order; lines without parameters get none.
TScriptContainer MakeScript(const std::vector<TLine>& lines);

// What a test compares: the failing index and message.
struct TOutcome {
  std::ptrdiff_t index;
  std::string message;
  bool operator==(const TOutcome&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TOutcome& outcome);

TOutcome Passed();
TOutcome Validate(const std::vector<TLine>& lines);

struct TCase {
  std::string title;
  std::vector<TLine> script;
  TOutcome expected;
};

}  // namespace corvane::test
