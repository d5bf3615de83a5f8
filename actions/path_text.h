// Windows path texts taken apart as the system reads them: "\" separates
// folders, ":" ends a drive, "\\host\share" is the drive of a UNC path.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvane {

// After the last backslash or colon.
std::string_view FileNamePart(std::string_view path);
// From the last "." of the file name on; empty when the name has none.
std::string_view ExtensionPart(std::string_view path);
// Up to and including the last backslash or colon.
std::string_view FolderPart(std::string_view path);
// "C:" or "\\host\share"; empty for a path without a drive.
std::string_view DrivePart(std::string_view path);
// One backslash appended unless the text ends in one; empty stays empty.
std::string WithTrailingBackslash(std::string_view text);
std::string_view WithoutTrailingBackslash(std::string_view text);

// "Extract Path": 0 file name, 1 file name without extension, 2 extension
// without its ".", 3 folder, 4 parent folder, 5 drive (3 to 5 ending in a
// backslash), 6 every pair of backslashes made one. Other codes: the path.
std::string ExtractPathPart(std::string_view path, int code);

// The name as stored on disk of the entry a full path names; none: no entry.
using TEntryNameLookup = std::function<std::optional<std::string>(const std::string& path)>;

// The path with every component spelled as stored on disk, without a
// trailing backslash; the drive or UNC share stays as written. Empty when a
// component does not exist.
std::string LongPathForm(std::string_view path, const TEntryNameLookup& entryName);

}  // namespace corvane
