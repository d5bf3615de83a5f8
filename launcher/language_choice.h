// The setup language chosen at the start of a run: from the language files
// the build tool put into the work folder, by the user in the TSetLanguage
// dialog, or as the maintenance cache recorded it.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "launcher/message_table.h"
#include "launcher/text_files.h"
#include "script/run_services.h"

namespace corvane {

// The TSetLanguage dialog, shown modally.
class TLanguagePrompt {
public:
  virtual ~TLanguagePrompt() = default;
  // The index of the language the user chose, or nothing for Cancel.
  virtual std::optional<std::size_t> Choose(const std::vector<std::string>& languages, std::size_t preselected,
                                            const TMessageTable& messages) = 0;
};

// The languages a work folder offers, from the names of its files, in their
// order: "translations." + language, without the owner file and the shared
// message files.
std::vector<std::string> OfferedLanguages(const std::vector<std::string>& fileNames);

// The item the dialog starts on: the user's own language, else the last
// item naming the default language, else the first.
std::size_t PreselectedLanguage(const std::vector<std::string>& languages, const std::string& userLanguageName,
                                const std::string& defaultLanguage);

struct TLanguageChoicePlaces {
  std::string workFolder;  // with a trailing backslash
  std::string baseName;    // the engine's file name without its extension
  // The installed product's cache folder, with a trailing backslash: in
  // maintenance it holds base name + ".lan", the language chosen last time.
  std::function<std::string(TRunContext&)> cacheFolder;
};

class TSetupLanguageChooser : public TLanguageChooser {
public:
  // userLanguage: the Windows identifier of the user's default language.
  TSetupLanguageChooser(TTextFiles& files, TLanguagePrompt& prompt, TLanguageChoicePlaces places,
                        unsigned userLanguage);

  std::optional<std::string> ChooseLanguage(TRunContext& run) override;

private:
  TTextFiles& files_;
  TLanguagePrompt& prompt_;
  const TLanguageChoicePlaces places_;
  const unsigned userLanguage_;
};

}  // namespace corvane
