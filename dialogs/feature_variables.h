// What the feature commands need of the variable store, so they run over a
// fake in tests and over the store in the interpreter.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

class TFeatureVariables {
public:
  virtual ~TFeatureVariables() = default;

  // The raw value, unsubstituted.
  virtual std::string Value(std::string_view name) const = 0;
  // Defines the variable when it is missing, then sets it.
  virtual void Define(std::string_view name, std::string_view value, std::string_view phase) = 0;
  // A command's output by the result variable convention.
  virtual void StoreResult(std::string_view name, std::string_view value) = 0;
};

}  // namespace corvane
