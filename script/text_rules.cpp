#include "script/text_rules.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "launcher/script_container.h"
#include "script/script_error.h"

namespace corvane {
namespace {

constexpr std::string_view kCrLf = "\r\n";

TScriptError NotAnInteger(std::string_view text) {
  return TScriptError("'" + std::string(text) + "' is not a valid integer value");
}

std::optional<std::int64_t> ParseDecimal64(std::string_view text) {
  std::string_view digits = text;
  if (digits.starts_with('+') || digits.starts_with('-')) {
    digits.remove_prefix(1);
  }
  if (digits.empty() || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  // from_chars takes a minus sign but no plus sign.
  const std::string_view number = text.starts_with('+') ? digits : text;
  std::int64_t value = 0;
  if (std::from_chars(number.data(), number.data() + number.size(), value).ec != std::errc()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::string UpperCase(std::string_view text) {
  std::string result(text);
  std::ranges::transform(result, result.begin(), AsciiUpper);
  return result;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::ranges::equal(a, b, [](char x, char y) { return AsciiUpper(x) == AsciiUpper(y); });
}

bool IsTrue(std::string_view text) { return EqualIgnoringCase(text, "TRUE") || text == "-1"; }

std::string BooleanText(bool value) { return value ? "TRUE" : "FALSE"; }

std::string_view ReferenceName(std::string_view text) {
  if (text.size() < 2 || text.front() != '$' || text.find('$', 1) != text.size() - 1) {
    return {};
  }
  return text.substr(1, text.size() - 2);
}

std::string_view NamedVariable(std::string_view line) {
  const std::string_view name = ReferenceName(line);
  return name.empty() ? line : name;
}

std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view find, std::string_view replacement) {
  if (find.empty()) {
    return std::string(text);
  }
  std::string result;
  result.reserve(text.size());
  std::size_t position = 0;
  while (position + find.size() <= text.size()) {
    if (EqualIgnoringCase(text.substr(position, find.size()), find)) {
      result += replacement;
      position += find.size();
    } else {
      result += text[position++];
    }
  }
  result += text.substr(position);
  return result;
}

std::string NewlineEncode(std::string_view text) { return ReplaceAllIgnoringCase(text, kCrLf, kNewlineMarker); }

std::string NewlineDecode(std::string_view text) {
  if (text.find('$') == std::string_view::npos) {
    return std::string(text);
  }
  return ReplaceAllIgnoringCase(text, kNewlineMarker, kCrLf);
}

std::string CollapseDoubledBackslashes(std::string_view text) {
  std::string result;
  result.reserve(text.size() + 1);
  if (text.starts_with("\\\\")) {
    result += '\\';
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      ++i;
    }
  }
  return result;
}

int ReadInteger(std::string_view text) {
  const std::optional<int> value = ParseDecimalInteger(text);
  if (!value) {
    throw NotAnInteger(text);
  }
  return *value;
}

std::int64_t ReadInteger64(std::string_view text) {
  const std::optional<std::int64_t> value = ParseDecimal64(text);
  if (!value) {
    throw NotAnInteger(text);
  }
  return *value;
}

}  // namespace corvane
