// Plain 8-bit text files read as lines, the way message and translation
// files are written.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Lines end with LF or CR LF; a final line end adds no empty line, so
// "a\nb\n" and "a\nb" are both two lines. Reading stops after maxLines.
std::vector<std::string> SplitTextLines(std::string_view content,
                                        std::size_t maxLines = std::numeric_limits<std::size_t>::max());

}  // namespace corvane
