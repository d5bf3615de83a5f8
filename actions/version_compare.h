// Versions as "Get File Version" writes them and "Check File Version"
// compares them: four numbers, compared in order as unsigned 32-bit values.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "launcher/file_version.h"

namespace corvane {

using TVersionNumbers = std::array<std::uint32_t, 4>;

// A file without a version resource counts as 0.0.0.0.
TVersionNumbers VersionNumbers(const std::optional<TFileVersion>& version);
std::string VersionText(const std::optional<TFileVersion>& version);

// "1.2" reads as 1.2.0.0; a last part that is not a whole number reads as 0,
// and parts after the fourth are ignored. A part before a "." that is not a
// whole number (such as the empty one in "1..2") is a script error.
TVersionNumbers ParseVersionText(std::string_view text);

bool IsNewerVersion(const TVersionNumbers& version, const TVersionNumbers& reference);

}  // namespace corvane
