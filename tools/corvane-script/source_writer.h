// Writes container sections as script source that compiles back to the same
// container bytes.
#pragma once

#include "launcher/script_container.h"

#include <string>

namespace corvane::authoring {

// Commands go under "script:" with their parameter lines beneath them; parts
// of the container the script body cannot express (parallel lists of unequal
// length, repeated GUIDs, lines before the first block, a header table not in
// script order) are written as verbatim lists instead.
std::string WriteSource(const TContainerSections& sections);

}  // namespace corvane::authoring
