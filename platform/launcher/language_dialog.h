// The language selection dialog TSetLanguage, and the user's own language.
#pragma once

#include "launcher/language_choice.h"

namespace corvane {

// A real modal window: no owner, centred on the screen. Throws when the
// window cannot be created.
class TWinLanguagePrompt : public TLanguagePrompt {
public:
  std::optional<std::size_t> Choose(const std::vector<std::string>& languages, std::size_t preselected,
                                    const TMessageTable& messages) override;
};

// The identifier of the user's default language (0 when the system does
// not say).
unsigned UserDefaultLanguage();

}  // namespace corvane
