#include "launcher/text_lines.h"

namespace corvane {

std::vector<std::string> SplitTextLines(std::string_view content, std::size_t maxLines) {
  std::vector<std::string> lines;
  std::size_t position = 0;
  while (position < content.size() && lines.size() < maxLines) {
    const std::size_t newline = content.find('\n', position);
    const std::size_t stop = newline == std::string_view::npos ? content.size() : newline;
    std::string_view line = content.substr(position, stop - position);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    lines.emplace_back(line);
    position = stop + 1;
  }
  return lines;
}

}  // namespace corvane
