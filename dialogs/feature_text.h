// Sizes as the feature model reads them; names and states follow the
// script's own text rules (script/text_rules.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

// An optional sign, then decimal digits that fit 64 bits; nothing else.
std::optional<std::int64_t> ParseSize(std::string_view text);

}  // namespace corvane
