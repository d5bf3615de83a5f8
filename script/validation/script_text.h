// The few text rules of the script language the validator needs. They read
// parameter lines as written; nothing here substitutes variables.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

std::string AsciiUpper(std::string_view text);
// "TRUE" in any letter case, or exactly "-1".
bool IsTrue(std::string_view text);
// NAME when text is exactly one $NAME$ token, else empty.
std::string_view ReferenceName(std::string_view text);

}  // namespace corvane
