// The three ways a command's parameter line names the variable that takes
// its result. Values are stored through the result variable convention: a
// missing variable is defined under its upper-case name, the phase text is
// the command name followed by " Action".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvane {

class TRunContext;

// Named: the line holds the name bare or as one "$NAME$" token, and the
// variable is stored under the upper-case name.
void StoreNamedResult(TRunContext& run, std::size_t line, std::string_view value);

// Plain: the line holds the name exactly as written (an existing variable
// matches in any letter case). An empty line stores nothing.
void StorePlainResult(TRunContext& run, std::size_t line, std::string_view value);

// In place: the line names an existing variable, bare or as one token; the
// command reads it and writes its result back. A missing variable is the
// store's undefined-variable error.
std::string ReadInPlace(TRunContext& run, std::size_t line);
void WriteInPlace(TRunContext& run, std::size_t line, std::string_view value);

}  // namespace corvane
