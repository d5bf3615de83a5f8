// The error texts of the archive wrappers.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// After listing failed: the library's code as the user reads it.
std::string ListFailureText(uint32_t code);
// After extraction failed: "#" and the code.
std::string ExtractFailureText(uint32_t code);

}  // namespace corvane
