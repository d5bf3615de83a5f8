#include <optional>
#include <string>
#include <utility>

#include "launcher/script_container.h"
#include "script/command_table.h"
#include "script/control_flow.h"
#include "script/core_commands.h"
#include "script/dialog_display.h"
#include "script/run_context.h"
#include "script/script_error.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

bool EvaluateCondition(TRunContext& run) {
  std::string variableLine = run.Line(1);
  std::string valueLine = run.Line(3);
  if (std::optional<std::string> translated = run.Translation(variableLine, 1)) {
    variableLine = std::move(*translated);
  }
  if (std::optional<std::string> translated = run.Translation(valueLine, 2)) {
    valueLine = std::move(*translated);
  }
  const std::string left = run.Store().Get(NamedVariable(variableLine));
  const std::string right = run.Store().Substitute(valueLine);
  return CompareCondition(left, run.Line(2), right) != IsTrue(run.Line(4));
}

void TakeBranchIf(TRunContext& run) {
  TFlowState& flow = run.State().flow;
  if (EvaluateCondition(run)) {
    ++flow.takenCount;
  } else {
    flow.branchSearchPending = true;
  }
}

void RunElseIf(TRunContext& run) {
  TFlowState& flow = run.State().flow;
  if (flow.takenCount > 0 && !flow.evaluatePending) {
    flow.endSearchPending = true;  // the branch before it was taken
    return;
  }
  flow.evaluatePending = false;
  TakeBranchIf(run);
}

void RunEnd(TRunContext& run) {
  TFlowState& flow = run.State().flow;
  if (flow.closePending) {
    flow.closePending = false;
  } else if (flow.loopEndPending) {
    flow.loopEndPending = false;
  } else if (flow.takenCount > 0) {
    --flow.takenCount;
  }
}

void GoToLabel(TRunContext& run) {
  const std::string label = UpperCase(run.Line(1));
  const auto found = run.State().labels.find(label);
  if (found == run.State().labels.end()) {
    throw TScriptError("There is no label named " + label);
  }
  // The next cycle steps onto the Label itself, which does nothing.
  run.State().currentLine = found->second;
  run.State().flow = TFlowState{};
}

}  // namespace

void RegisterFlowCommands(TCommandTable& table) {
  table.Register("If", TakeBranchIf);
  table.Register("Else If", RunElseIf);
  table.Register("Else", [](TRunContext& run) { run.State().flow.endSearchPending = true; });
  table.Register("End", RunEnd);
  table.Register("Wizard Loop", [](TRunContext& run) {
    run.State().flow.wizardActive = true;
    run.State().flow.wizardDirection = 1;
  });
  table.Register("Label", [](TRunContext&) {});
  table.Register("GoTo Label", GoToLabel);
}

void RegisterDisplayDialog(TCommandTable& table, TDialogDisplay& display) {
  table.Register("Display Dialog",
                 [&display](TRunContext& run) { ApplyDisplayResult(run.State().flow, display.DisplayDialog(run)); });
}

}  // namespace corvane
