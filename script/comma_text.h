// The store's exchange format with plug-in libraries: the items NAME1,
// VALUE1, NAME2, VALUE2, ... joined by commas. An item holding a character
// of code 0 to 32, a double quote or a comma is quoted, its quotes doubled.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "script/variable.h"

namespace corvane {

std::string ExportCommaText(std::span<const TVariable> variables);

// Blanks (codes 1 to 32) between items are skipped; a quoted item ends at its
// closing quote (an unclosed one at the end of the text); an unquoted item
// ends at a comma or a blank; a comma that ends the text adds an empty item.
// A character of code 0 is an ordinary character, so any exported item reads
// back unchanged.
std::vector<std::string> SplitCommaText(std::string_view text);

// The items taken pairwise as NAME, VALUE; an odd last name gets an empty value.
std::vector<TVariable> VariablesFromCommaText(std::string_view text);

}  // namespace corvane
