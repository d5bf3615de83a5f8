// A fresh run with just the variables the interpreter itself reads, until
// the full run initialisation with every predefined variable takes its place.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "script/run_services.h"
#include "script/variable_store.h"

namespace corvane {

// The command line's NAME=VALUE pairs, in order: an existing variable is set
// under its upper-case name, a missing one defined under it. They pass the
// protection that keeps them in a silent run.
void InjectOverrides(TVariableStore& store, const std::vector<std::pair<std::string, std::string>>& overrides);

class TMinimalRunInitialiser : public TRunInitialiser {
public:
  // Clears the store; defines ALLUSERS, PRODUCTCODE and TITLE.
  void Prepare(TRunContext& run) override;
  // Defines NOBRAND, WINDOWHANDLE, PROGRESSTEXT, ABORT, PROGRESS, SILENT,
  // LOGGED, CMDLINE and LANGUAGE, then injects the overrides.
  bool Complete(TRunContext& run) override;
};

}  // namespace corvane
