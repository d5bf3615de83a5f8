#include "actions/string_text.h"

#include <cstdint>
#include <optional>

#include "launcher/script_container.h"

namespace corvane {
namespace {

// A split of source: the first part is its first firstLength characters, the
// second part begins at secondStart (0-based); both are clamped to source.
struct TSplit {
  std::int64_t firstLength = 0;
  std::int64_t secondStart = 0;
};

std::string Clamped(std::string_view text, std::int64_t start, std::int64_t length) {
  const auto size = static_cast<std::int64_t>(text.size());
  if (start < 0) {
    start = 0;
  }
  if (length <= 0 || start >= size) {
    return {};
  }
  return std::string(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

std::optional<TSplit> SplitAroundFirst(std::string_view source, std::string_view pattern) {
  const std::size_t at = pattern.empty() ? std::string_view::npos : source.find(pattern);
  if (at == std::string_view::npos) {
    return TSplit{static_cast<std::int64_t>(source.size()), static_cast<std::int64_t>(source.size())};
  }
  return TSplit{static_cast<std::int64_t>(at), static_cast<std::int64_t>(at + pattern.size())};
}

std::optional<TSplit> SplitAroundLast(std::string_view source, std::string_view pattern) {
  const std::size_t at = pattern.empty() ? std::string_view::npos : source.rfind(pattern);
  if (at == std::string_view::npos) {
    return TSplit{0, 0};
  }
  return TSplit{static_cast<std::int64_t>(at), static_cast<std::int64_t>(at + pattern.size())};
}

// The first part holds the first `split` characters; a split at 0 (as in
// mode 3 with a count equal to the length) is a valid split, not a failure.
std::optional<TSplit> SplitAtCount(std::optional<int> count, std::int64_t split) {
  if (!count) {
    return std::nullopt;
  }
  return TSplit{split, split};
}

std::optional<TSplit> FindSplit(std::string_view source, std::string_view pattern, int mode) {
  const std::optional<int> count = ParseDecimalInteger(pattern);
  const auto size = static_cast<std::int64_t>(source.size());
  switch (mode) {
    case 0:
      return SplitAroundFirst(source, pattern);
    case 1:
      return SplitAroundLast(source, pattern);
    case 2:
      return SplitAtCount(count, count.value_or(0));
    case 3:
      return SplitAtCount(count, size - count.value_or(0));
    default:
      return std::nullopt;
  }
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

TStringParts ParseString(std::string_view source, std::string_view pattern, int mode, bool ignoreCase,
                         const TCaseMapping& caseMapping) {
  const std::optional<TSplit> split =
      ignoreCase ? FindSplit(caseMapping.Lower(source), caseMapping.Lower(pattern), mode)
                 : FindSplit(source, pattern, mode);
  if (!split) {
    return {};
  }
  return {Clamped(source, 0, split->firstLength),
          Clamped(source, split->secondStart, static_cast<std::int64_t>(source.size()))};
}

std::string TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlankOrControl(text.back())) {
    text.remove_suffix(1);
  }
  return std::string(text);
}

std::string ReplaceString(std::string_view value, std::string_view find, std::string_view replacement,
                          bool ignoreCase, bool replaceAll, const TCaseMapping& caseMapping) {
  if (value.empty() || find.empty() || find.size() > value.size()) {
    return std::string(value);
  }
  const std::string foldedValue = ignoreCase ? caseMapping.Upper(value) : std::string(value);
  const std::string foldedFind = ignoreCase ? caseMapping.Upper(find) : std::string(find);
  std::string result;
  std::size_t copied = 0;
  std::size_t at = foldedValue.find(foldedFind);
  while (at != std::string::npos) {
    result.append(value.substr(copied, at - copied)).append(replacement);
    copied = at + find.size();
    at = replaceAll ? foldedValue.find(foldedFind, copied) : std::string::npos;
  }
  result.append(value.substr(copied));
  return result;
}

}  // namespace corvane
