// "Parse String", "Replace String", "Convert Case", "Convert Path",
// "Extract Path", "Mathematics", "Get Environment", "Get File Version",
// "Check File Version" and "Get Temporary File".
#pragma once

#include "actions/mathematics.h"
#include "actions/system_queries.h"

namespace corvane {

class TCommandTable;

// What these commands keep and use for the whole engine process; it must
// outlive the command table they are registered in.
struct TStringCommandServices {
  TSystemQueries& system;
  TMathGenerator generator = {};
};

void RegisterStringCommands(TCommandTable& table, TStringCommandServices& services);

}  // namespace corvane
