#include "script/control_flow.h"

#include <algorithm>

#include "script/dialog_display.h"
#include "script/script_error.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::string_view kIf = "If";
constexpr std::string_view kElseIf = "Else If";
constexpr std::string_view kElse = "Else";
constexpr std::string_view kEnd = "End";
constexpr std::string_view kWizardLoop = "Wizard Loop";
constexpr std::string_view kDisplayDialog = "Display Dialog";
constexpr std::string_view kIgnore = "Ignore";
constexpr std::string_view kLabel = "Label";

TScriptError RanPastLastCommand(std::string_view what) {
  return TScriptError("No \"End\" closes this block: the search for " + std::string(what) +
                      " ran past the last command");
}

enum class TSearch { Branch, End };

// The index a search from `from` stops at: an End at depth 0, and for a
// branch search an Else or Else If at depth 0.
std::optional<std::size_t> SearchBlock(const TScriptContainer& container, std::size_t from, TSearch kind) {
  int depth = 0;
  for (std::size_t i = from; i < container.CommandCount(); ++i) {
    if (container.Disabled(i)) {
      continue;
    }
    const std::string& name = container.Name(i);
    if (name == kIf || name == kWizardLoop) {
      ++depth;
    } else if (name == kEnd) {
      if (depth == 0) {
        return i;
      }
      --depth;
    } else if (kind == TSearch::Branch && depth == 0 && (name == kElse || name == kElseIf)) {
      return i;
    }
  }
  return std::nullopt;
}

std::optional<std::size_t> FirstActiveEnd(const TScriptContainer& container, std::size_t from) {
  for (std::size_t i = from; i < container.CommandCount(); ++i) {
    if (!container.Disabled(i) && container.Name(i) == kEnd) {
      return i;
    }
  }
  return std::nullopt;
}

// Lines are 1-based: the command at index i is line i + 1.
std::size_t LineOf(std::size_t index) { return index + 1; }

void RunBranchSearch(const TScriptContainer& container, TFlowState& flow, std::size_t& currentLine) {
  const std::optional<std::size_t> stop = SearchBlock(container, currentLine, TSearch::Branch);
  if (!stop) {
    throw RanPastLastCommand("\"Else\", \"Else If\" or \"End\"");
  }
  const std::string& name = container.Name(*stop);
  if (name == kElse) {
    ++flow.takenCount;
    currentLine = LineOf(*stop + 1);
  } else {
    (name == kElseIf ? flow.evaluatePending : flow.closePending) = true;
    currentLine = LineOf(*stop);
  }
}

void RunEndSearch(const TScriptContainer& container, TFlowState& flow, std::size_t& currentLine) {
  const std::optional<std::size_t> stop = SearchBlock(container, currentLine, TSearch::End);
  if (!stop) {
    throw RanPastLastCommand("\"End\"");
  }
  flow.closePending = true;
  flow.takenCount = std::max(0, flow.takenCount - 1);
  currentLine = LineOf(*stop);
}

void LeaveWizardLoopAt(std::optional<std::size_t> end, TFlowState& flow, std::size_t& currentLine) {
  if (!end) {
    throw RanPastLastCommand("the end of the Wizard Loop");
  }
  flow.wizardActive = false;
  flow.loopEndPending = true;
  currentLine = LineOf(*end);
}

void RunWizardStep(const TScriptContainer& container, TFlowState& flow, std::size_t& currentLine) {
  std::size_t index = currentLine - 1;
  if (flow.wizardDirection == 0) {
    LeaveWizardLoopAt(FirstActiveEnd(container, index + 1), flow, currentLine);
    return;
  }
  for (;;) {
    if (flow.wizardDirection > 0 ? index + 1 >= container.CommandCount() : index == 0) {
      throw RanPastLastCommand("the end of the Wizard Loop");
    }
    index = flow.wizardDirection > 0 ? index + 1 : index - 1;
    if (container.Disabled(index)) {
      continue;
    }
    const std::string& name = container.Name(index);
    if (name == kDisplayDialog) {
      currentLine = LineOf(index);
      return;
    }
    if (name == kEnd) {
      LeaveWizardLoopAt(index, flow, currentLine);
      return;
    }
    if (name == kWizardLoop) {
      LeaveWizardLoopAt(FirstActiveEnd(container, index + 1), flow, currentLine);
      return;
    }
  }
}

void StepToNextActiveCommand(const TScriptContainer& container, std::size_t& currentLine) {
  ++currentLine;
  while (currentLine < container.CommandCount() &&
         (container.Disabled(currentLine - 1) || container.Name(currentLine - 1) == kIgnore)) {
    ++currentLine;
  }
}

}  // namespace

TLabelTable BuildLabelTable(const TScriptContainer& container) {
  TLabelTable labels;
  for (std::size_t i = 0; i < container.CommandCount(); ++i) {
    if (container.Name(i) == kLabel) {
      labels.try_emplace(UpperCase(container.Parameter(container.Guid(i), 1)), i);
    }
  }
  return labels;
}

void AdvanceToNextCommand(const TScriptContainer& container, TFlowState& flow, std::size_t& currentLine) {
  if (flow.branchSearchPending) {
    flow.branchSearchPending = false;
    RunBranchSearch(container, flow, currentLine);
  } else if (flow.endSearchPending) {
    flow.endSearchPending = false;
    RunEndSearch(container, flow, currentLine);
  } else if (flow.wizardActive) {
    RunWizardStep(container, flow, currentLine);
  } else {
    StepToNextActiveCommand(container, currentLine);
  }
}

bool CompareCondition(std::string_view left, std::string_view op, std::string_view right) {
  const std::optional<int> leftNumber = ParseDecimalInteger(left);
  const std::optional<int> rightNumber = ParseDecimalInteger(right);
  if (leftNumber && rightNumber) {
    if (op == "0" || op == "1") {
      return *leftNumber == *rightNumber;
    }
    return op == "2" && *leftNumber > *rightNumber;
  }
  if (op == "0") {
    return left == right;
  }
  if (op == "1") {
    return left.find(right) != std::string_view::npos;
  }
  return op == "2" && left > right;
}

void ApplyDisplayResult(TFlowState& flow, int resultCode) {
  if (!flow.wizardActive) {
    return;
  }
  switch (resultCode) {
    case kDisplayNext:
      flow.wizardDirection = 1;
      break;
    case kDisplayBack:
      flow.wizardDirection = -1;
      break;
    case kDisplayCancel:
      flow.wizardDirection = 0;
      break;
    default:
      break;
  }
}

}  // namespace corvane
