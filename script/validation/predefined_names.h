// The variables every run defines before its first command. One list, so the
// validator and run initialisation cannot disagree about which names exist.
#pragma once

#include <span>
#include <string_view>

namespace corvane {

std::span<const std::string_view> PredefinedVariableNames();

}  // namespace corvane
