// Block structure: where the interpreter goes next after If, Else If, Else,
// End, Wizard Loop and GoTo Label. Disabled commands never count.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "launcher/script_container.h"

namespace corvane {

struct TFlowState {
  int takenCount = 0;  // open If blocks whose branch is running
  bool branchSearchPending = false;
  bool endSearchPending = false;
  bool closePending = false;     // the next End ends a search
  bool evaluatePending = false;  // the next Else If ends a branch search
  bool wizardActive = false;
  int wizardDirection = 0;       // +1 next, -1 back, 0 cancelled
  bool loopEndPending = false;   // the next End closes a Wizard Loop
};

// Upper-case label name -> index of its "Label" command (disabled ones too).
using TLabelTable = std::unordered_map<std::string, std::size_t>;
TLabelTable BuildLabelTable(const TScriptContainer& container);

// Moves currentLine (1-based; 0 before the first command) to the command the
// cycle runs next: past a pending search, by a wizard step, or to the next
// command that is neither disabled nor "Ignore". A search or step that runs
// past the last command raises TScriptError.
void AdvanceToNextCommand(const TScriptContainer& container, TFlowState& flow, std::size_t& currentLine);

// The condition of If and Else If: when both sides are 32-bit decimal
// integers, "0" and "1" test equality and "2" left > right; otherwise "0"
// tests equality, "1" whether left contains right, "2" left > right byte-wise.
bool CompareCondition(std::string_view left, std::string_view op, std::string_view right);

// A display's result sets the direction of the Wizard Loop it runs in.
void ApplyDisplayResult(TFlowState& flow, int resultCode);

}  // namespace corvane
