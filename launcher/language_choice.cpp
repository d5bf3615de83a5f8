#include "launcher/language_choice.h"

#include <algorithm>
#include <utility>

#include "launcher/language_codes.h"
#include "launcher/text_lines.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::string_view kLanguageFilePrefix = "translations.";

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool IsLanguageFile(const std::string& name) {
  return StartsWithIgnoringCase(name, kLanguageFilePrefix) && name != "translations.Map" &&
         name.find("shared") == std::string::npos;
}

}  // namespace

std::vector<std::string> OfferedLanguages(const std::vector<std::string>& fileNames) {
  std::vector<std::string> languages;
  for (const std::string& name : fileNames) {
    if (!IsLanguageFile(name)) {
      continue;
    }
    std::string language = name.substr(name.find_last_of('.') + 1);
    if (!language.empty()) {
      languages.push_back(std::move(language));
    }
  }
  return languages;
}

std::size_t PreselectedLanguage(const std::vector<std::string>& languages, const std::string& userLanguageName,
                                const std::string& defaultLanguage) {
  const auto named = [&](const std::string& wanted) {
    return [&wanted](const std::string& language) { return EqualIgnoringCase(language, wanted); };
  };
  if (!userLanguageName.empty()) {
    if (const auto user = std::ranges::find_if(languages, named(userLanguageName)); user != languages.end()) {
      return static_cast<std::size_t>(user - languages.begin());
    }
  }
  const auto fallback = std::ranges::find_if(languages.rbegin(), languages.rend(), named(defaultLanguage));
  return fallback == languages.rend() ? 0 : static_cast<std::size_t>(languages.rend() - fallback) - 1;
}

TSetupLanguageChooser::TSetupLanguageChooser(TTextFiles& files, TLanguagePrompt& prompt,
                                             TLanguageChoicePlaces places, unsigned userLanguage)
    : files_(files), prompt_(prompt), places_(std::move(places)), userLanguage_(userLanguage) {}

std::optional<std::string> TSetupLanguageChooser::ChooseLanguage(TRunContext& run) {
  const TContainerSections& sections = run.Container().Sections();
  if (!files_.FileExists(places_.workFolder + sections.title + ".mtx")) {
    return std::string();
  }
  const std::vector<std::string> fileNames = files_.FileNames(places_.workFolder);
  const std::vector<std::string> languages = OfferedLanguages(fileNames);
  if (languages.empty()) {
    return std::string();
  }
  const std::string defaultFile = std::string(kLanguageFilePrefix) + sections.defaultLanguage;
  std::string choice;
  if (std::ranges::any_of(fileNames, [&](const std::string& name) {
        return IsLanguageFile(name) && EqualIgnoringCase(name, defaultFile);
      })) {
    choice = sections.defaultLanguage;
  }

  const bool maintenance = IsTrue(run.Store().Find("MAINTENANCE").value_or(""));
  // A silent run asks nobody: it takes the language it would have taken
  // without the prompt.
  if (sections.languagePrompt && !maintenance && !run.Silent()) {
    const std::size_t preselected =
        PreselectedLanguage(languages, LanguageDisplayName(userLanguage_), sections.defaultLanguage);
    const std::optional<std::size_t> chosen = prompt_.Choose(languages, preselected, run.Engine().messages);
    if (!chosen) {
      return std::nullopt;
    }
    choice = languages.at(*chosen);
  } else if (maintenance && places_.cacheFolder) {
    const std::string recorded = places_.cacheFolder(run) + places_.baseName + ".lan";
    if (const std::optional<std::string> content = files_.ReadWholeFile(recorded)) {
      const std::vector<std::string> lines = SplitTextLines(*content, 1);
      choice = lines.empty() ? std::string() : lines.front();
    }
  }
  return choice;
}

}  // namespace corvane
