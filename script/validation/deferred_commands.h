// Commands the build tool already wrote into the package as conditioned
// changes: reaching one at run time only records that it was reached.
#pragma once

#include <string_view>

namespace corvane {

bool IsDeferredCommand(std::string_view name);  // exact, case-sensitive

}  // namespace corvane
