// Replacing "$NAME$" tokens by variable values. The defining rule, one pass:
// "$NEWLINE$" (any case) becomes CR LF; then, for each variable in store
// order, every "$NAME$" (any case) is replaced left to right, without
// overlaps and without searching the inserted value again in that step.
// Passes repeat while the text still holds a "$" and the pass changed it.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "script/name_index.h"
#include "script/variable.h"

namespace corvane {

struct TSubstitutionBounds {
  // A value that holds its own token grows with every pass, so passes stop
  // after this many; the text after the last pass is the result. Scripts
  // need one pass per step back in store order, which is a handful.
  int passes = 32;
  // A value holding its own token twice doubles the text with every pass, so
  // a replacement that would grow the text beyond this length is not made,
  // and substitution ends with the text as it stands.
  std::size_t length = std::size_t{4} << 20;
};

// index must describe variables.
std::string Substitute(std::string_view text, std::span<const TVariable> variables, const TNameIndex& index,
                       TSubstitutionBounds bounds = {});

}  // namespace corvane
