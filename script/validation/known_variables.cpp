#include "script/validation/known_variables.h"

#include "script/text_rules.h"

namespace corvane {

void TKnownVariableSet::Clear() {
  upperNames_.clear();
}

bool TKnownVariableSet::Exists(std::string_view name) const {
  return upperNames_.contains(UpperCase(name));
}

void TKnownVariableSet::Define(std::string_view name) {
  if (!name.empty()) {
    upperNames_.insert(UpperCase(name));
  }
}

}  // namespace corvane
