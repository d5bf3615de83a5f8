// Conversions between the library's ANSI strings and the wide strings 7-Zip
// and the file system calls use.
#pragma once

#include <string>
#include <string_view>

namespace corvane::kel {

std::wstring WideFromAnsi(std::string_view text);
// Characters the code page lacks become '?'.
std::string AnsiFromWide(std::wstring_view text);

}  // namespace corvane::kel
