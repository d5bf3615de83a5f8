#include "script/validation/tests/script_builder.h"

#include <utility>

namespace corvane::test {
namespace {

std::string GuidFor(std::size_t index) {
  const std::string digits = std::to_string(index);
  return "{00000000-0000-0000-0000-" + std::string(12 - digits.size(), '0') + digits + "}";
}

}  // namespace

TLine Off(TLine line) {
  line.disabled = true;
  return line;
}

TLine If(std::string variable, std::string value) {
  return {"If", {std::move(variable), "0", std::move(value), "FALSE"}};
}

TLine ElseIf(std::string variable, std::string value) {
  return {"Else If", {std::move(variable), "0", std::move(value), "FALSE"}};
}

TLine Else() { return {"Else", {}}; }
TLine End() { return {"End", {}}; }
TLine WizardLoop() { return {"Wizard Loop", {}}; }

TLine Set(std::string variable, std::string value) {
  return {"Set Variable", {std::move(variable), std::move(value)}};
}

TLine Label(std::string name) { return {"Label", {std::move(name)}}; }
TLine GoTo(std::string name) { return {"GoTo Label", {std::move(name)}}; }

TLine Dialog(std::string name, std::string resultVariable, std::string conditionVariable) {
  return {"Display Dialog", {std::move(name), std::move(resultVariable), "TRUE", std::move(conditionVariable), "", "FALSE"}};
}

TLine MessageBox(std::string resultVariable) {
  return {"MessageBox", {"$TITLE$", "Continue?", "1", "4", std::move(resultVariable)}};
}

TScriptContainer MakeScript(const std::vector<TLine>& lines) {
  TContainerSections sections;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string guid = GuidFor(i);
    sections.commandNames.push_back(lines[i].name);
    sections.commandGuids.push_back(guid);
    sections.disabledMarks.push_back(lines[i].disabled ? "C" : "");
    sections.mediaFolders.emplace_back();
    if (!lines[i].parameters.empty()) {
      sections.parameterBlocks.push_back(guid);
      sections.parameterBlocks.insert(sections.parameterBlocks.end(), lines[i].parameters.begin(),
                                      lines[i].parameters.end());
    }
  }
  return TScriptContainer(std::move(sections));
}

std::ostream& operator<<(std::ostream& out, const TOutcome& outcome) {
  return out << "(" << outcome.index << ", \"" << outcome.message << "\")";
}

TOutcome Passed() {
  return {-1, std::string(kScriptCompiled)};
}

TOutcome Validate(const std::vector<TLine>& lines) {
  const TValidationResult result = ValidateScript(MakeScript(lines));
  return {result.index, result.message};
}

}  // namespace corvane::test
