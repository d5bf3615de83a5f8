// The small text rules every command uses. Letter case is ASCII case: the
// engine's names and marker words are ASCII, and other bytes compare exactly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

inline constexpr std::string_view kNewlineMarker = "$NEWLINE$";

constexpr char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
std::string UpperCase(std::string_view text);
bool EqualIgnoringCase(std::string_view a, std::string_view b);

// "TRUE" in any letter case, or exactly "-1".
bool IsTrue(std::string_view text);
std::string BooleanText(bool value);

// NAME when text is exactly one token "$NAME$" (it starts with "$" and its
// next "$" is its last character); otherwise empty.
std::string_view ReferenceName(std::string_view text);
// A parameter line naming a variable, bare or as one token: the name.
std::string_view NamedVariable(std::string_view line);

// Every occurrence of find, letter case ignored, left to right and without
// overlaps; the inserted text is not searched again.
std::string ReplaceAllIgnoringCase(std::string_view text, std::string_view find, std::string_view replacement);

// CR LF <-> "$NEWLINE$"; decoding finds the marker in any letter case, as
// substitution does.
std::string NewlineEncode(std::string_view text);
std::string NewlineDecode(std::string_view text);

// Every doubled backslash collapsed into one; a text that began with a
// doubled backslash keeps one extra in front, so a UNC prefix survives.
std::string CollapseDoubledBackslashes(std::string_view text);

// Parameter lines read as decimal integers (an optional sign, then digits):
// anything else is a script error.
int ReadInteger(std::string_view text);
std::int64_t ReadInteger64(std::string_view text);

}  // namespace corvane
