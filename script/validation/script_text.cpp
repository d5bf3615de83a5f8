#include "script/validation/script_text.h"

#include <algorithm>

namespace corvane {
namespace {

char AsciiUpperChar(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

std::string AsciiUpper(std::string_view text) {
  std::string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpperChar);
  return upper;
}

bool IsTrue(std::string_view text) {
  return AsciiUpper(text) == "TRUE" || text == "-1";
}

std::string_view ReferenceName(std::string_view text) {
  if (text.size() < 2 || text.front() != '$' || text.find('$', 1) != text.size() - 1) {
    return {};
  }
  return text.substr(1, text.size() - 2);
}

}  // namespace corvane
