#include "launcher/language_codes.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "script/text_rules.h"

namespace corvane {
namespace {

struct TLanguageCode {
  std::string_view name;
  unsigned identifier;
};

// The display names are written as setups have always spelt them
// ("Portugese" included): translation files are named after them.
constexpr std::array<TLanguageCode, 35> kLanguageCodes = {{
    {"Arabic", 1025},
    {"Catalan", 1027},
    {"Chinese (Taiwan)", 1028},
    {"Chinese (PRC)", 2052},
    {"Czech", 1029},
    {"Danish", 1030},
    {"German", 1031},
    {"Greek", 1032},
    {"English", 1033},
    {"Spanish", 3082},
    {"Estonian", 1061},
    {"Finnish", 1035},
    {"French", 1036},
    {"Hebrew", 1037},
    {"Hungarian", 1038},
    {"Italian", 1040},
    {"Japanese", 1041},
    {"Korean", 1042},
    {"Lithuanian", 1063},
    {"Latvian", 1062},
    {"Dutch", 1043},
    {"Norwegian", 1044},
    {"Polish", 1045},
    {"Portugese (Brazil)", 1046},
    {"Portugese (Portugal)", 2070},
    {"Romanian", 1048},
    {"Russian", 1049},
    {"Croatian", 1050},
    {"Slovak", 1051},
    {"Swedish", 1053},
    {"Thai", 1054},
    {"Turkish", 1055},
    {"Slovenian", 1060},
    {"Vietnamese", 1066},
    {"Basque", 1069},
}};

constexpr unsigned kEnglish = 1033;

}  // namespace

std::string LanguageIdentifier(std::string_view name) {
  const auto found = std::ranges::find_if(
      kLanguageCodes, [&](const TLanguageCode& code) { return EqualIgnoringCase(code.name, name); });
  return std::to_string(found == kLanguageCodes.end() ? kEnglish : found->identifier);
}

std::string LanguageDisplayName(unsigned identifier) {
  const auto found =
      std::ranges::find_if(kLanguageCodes, [&](const TLanguageCode& code) { return code.identifier == identifier; });
  return found == kLanguageCodes.end() ? std::string() : std::string(found->name);
}

unsigned LanguageOfLocaleText(std::string_view hexadecimal) {
  unsigned identifier = 0;
  const char* end = hexadecimal.data() + hexadecimal.size();
  const auto [stop, error] = std::from_chars(hexadecimal.data(), end, identifier, 16);
  return error == std::errc() && stop == end && !hexadecimal.empty() ? identifier : 0;
}

}  // namespace corvane
