// The language code table: the language names translation files carry and
// the Windows language identifiers they stand for.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

// The identifier of a language name (letter case ignored) in decimal; 1033
// (English) for a name the table does not know.
std::string LanguageIdentifier(std::string_view name);

// The display name of an identifier, as the language dialog lists it; empty
// for an identifier the table does not know.
std::string LanguageDisplayName(unsigned identifier);

// The user's default language as the system reports it: hexadecimal digits
// ("0409"). 0 for anything else.
unsigned LanguageOfLocaleText(std::string_view hexadecimal);

}  // namespace corvane
