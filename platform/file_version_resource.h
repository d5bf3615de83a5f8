#pragma once

#include <optional>
#include <string>

#include "launcher/file_version.h"

namespace corvane {

// The fixed file version of a file's version resource; empty when it has none.
std::optional<TFileVersion> ReadFileVersionResource(const std::string& path);

}  // namespace corvane
