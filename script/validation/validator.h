// Checks a script before it runs: block structure, labels, the parameters
// commands cannot do without, and that conditions and in-place string
// commands use variables that an earlier line defines. The first problem ends
// the check.
#pragma once

#include "launcher/script_container.h"
#include "script/validation/known_variables.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

inline constexpr std::string_view kScriptCompiled = "Script compiled successfully";
// Line results: an enabled deferred command starts not activated, every
// other line has nothing to activate.
inline constexpr std::string_view kLineNotActivated = "FALSE";
inline constexpr std::string_view kLineSkipped = "SKIP";

struct TValidationResult {
  // 0-based index of the offending line; -1 when the script passed.
  std::ptrdiff_t index = -1;
  std::string message;
  // One per script line, kLineNotActivated or kLineSkipped.
  std::vector<std::string> lineResults;

  bool Ok() const { return index < 0; }
};

// Clears names first, then fills it with the predefined names and, in script
// order, the names the lines define, up to the first failure.
TValidationResult ValidateScript(const TScriptContainer& script, TKnownVariables& names);
TValidationResult ValidateScript(const TScriptContainer& script);

}  // namespace corvane
