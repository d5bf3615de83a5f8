// The text work behind "Parse String" and "Replace String".
#pragma once

#include <string>
#include <string_view>

#include "actions/case_mapping.h"

namespace corvane {

struct TStringParts {
  std::string first;
  std::string second;

  bool operator==(const TStringParts&) const = default;
};

// Where "Parse String" splits source, by mode:
//   0 around the first occurrence of pattern (none: all of it, empty),
//   1 around the last occurrence (none: empty, all of it),
//   2 after the first N characters, N = pattern as a whole number,
//   3 before the last N characters.
// A count that is not a whole number, and any other mode, give two empty
// parts. ignoreCase: the search compares lower-cased copies.
TStringParts ParseString(std::string_view source, std::string_view pattern, int mode, bool ignoreCase,
                         const TCaseMapping& caseMapping);

// Without blanks and control characters at either end.
std::string TrimBlanks(std::string_view text);

// The first occurrence of find, or every one left to right without
// overlaps; ignoreCase compares upper-cased copies and keeps the value's own
// letters where nothing is replaced.
std::string ReplaceString(std::string_view value, std::string_view find, std::string_view replacement,
                          bool ignoreCase, bool replaceAll, const TCaseMapping& caseMapping);

}  // namespace corvane
