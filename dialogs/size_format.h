// Byte counts as the space texts show them: "1,937 KB".
#pragma once

#include <cstdint>
#include <string>

#include "launcher/message_table.h"

namespace corvane {

// The unit words, entries of the built-in message table.
inline constexpr int kMessageBytes = 6;
inline constexpr int kMessageKilobytes = 7;
inline constexpr int kMessageMegabytes = 8;

// Below 1 MB (and any negative value) in bytes, below 1 GB in KB, else in
// MB; whole units, digits grouped by ",".
std::string FormatSize(std::int64_t bytes, const TMessageTable& messages);

}  // namespace corvane
