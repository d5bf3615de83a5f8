// The feature model's variables in a running script's store.
#pragma once

#include "dialogs/feature_variables.h"
#include "script/run_context.h"

namespace corvane {

class TRunFeatureVariables : public TFeatureVariables {
public:
  explicit TRunFeatureVariables(TRunContext& run) : run_(run) {}

  std::string Value(std::string_view name) const override { return run_.Store().Find(name).value_or(""); }
  void Define(std::string_view name, std::string_view value, std::string_view phase) override {
    run_.Store().Define(name, value, phase);
  }
  void StoreResult(std::string_view name, std::string_view value) override { run_.StoreResult(name, value); }

private:
  TRunContext& run_;
};

}  // namespace corvane
