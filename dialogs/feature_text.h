// The text rules the feature model reads names, states and sizes by.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

// ASCII letter case only: component names are compared as the script does.
bool SameName(std::string_view a, std::string_view b);
// "TRUE" in any letter case, or exactly "-1".
bool IsTrueState(std::string_view state);
// An optional sign, then decimal digits that fit 64 bits; nothing else.
std::optional<std::int64_t> ParseSize(std::string_view text);

}  // namespace corvane
