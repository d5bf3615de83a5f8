#include "actions/version_compare.h"

#include "launcher/script_container.h"
#include "script/text_rules.h"

namespace corvane {

TVersionNumbers VersionNumbers(const std::optional<TFileVersion>& version) {
  const TFileVersion numbers = version.value_or(TFileVersion{});
  return {numbers.major, numbers.minor, numbers.release, numbers.build};
}

std::string VersionText(const std::optional<TFileVersion>& version) {
  return version.value_or(TFileVersion{}).Text();
}

TVersionNumbers ParseVersionText(std::string_view text) {
  TVersionNumbers numbers{};
  for (std::uint32_t& number : numbers) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
      number = static_cast<std::uint32_t>(ParseDecimalInteger(text).value_or(0));
      break;
    }
    number = static_cast<std::uint32_t>(ReadInteger(text.substr(0, dot)));
    text.remove_prefix(dot + 1);
  }
  return numbers;
}

bool IsNewerVersion(const TVersionNumbers& version, const TVersionNumbers& reference) { return version > reference; }

}  // namespace corvane
