#include "script/validation/known_variables.h"

#include "script/validation/script_text.h"

namespace corvane {

void TKnownVariableSet::Clear() {
  upperNames_.clear();
}

bool TKnownVariableSet::Exists(std::string_view name) const {
  return upperNames_.contains(AsciiUpper(name));
}

void TKnownVariableSet::Define(std::string_view name) {
  if (!name.empty()) {
    upperNames_.insert(AsciiUpper(name));
  }
}

}  // namespace corvane
