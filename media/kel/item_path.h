// Item paths come from the archive and are not to be trusted: whatever an
// item is called, it must land below the destination folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::kel {

// The folder names and file name of a safe relative item path ('\' or '/'
// between parts). Nothing when the path is empty, absolute, has a drive, UNC
// or device prefix, climbs with "..", or has a part Windows would silently
// change (trailing dot or space) or open as a device (CON, NUL, COM1, ...).
std::optional<std::vector<std::wstring>> SplitSafeItemPath(std::wstring_view path);

}  // namespace corvane::kel
