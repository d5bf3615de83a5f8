#include "dialogs/feature_text.h"

#include <algorithm>
#include <charconv>

namespace corvane {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::int64_t> ParseSize(std::string_view text) {
  const bool hasSign = text.starts_with('+') || text.starts_with('-');
  const std::string_view digits = hasSign ? text.substr(1) : text;
  if (digits.empty() || !std::ranges::all_of(digits, IsDigit)) return std::nullopt;
  // from_chars takes a minus sign but no plus sign.
  const std::string_view number = text.starts_with('+') ? digits : text;
  std::int64_t value = 0;
  if (std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc()) return std::nullopt;
  return value;
}

}  // namespace corvane
