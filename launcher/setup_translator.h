// The script's texts in the setup language: follows LANGUAGE before every
// command, serves command and dialog texts, and puts the language's shared
// message file in force.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "launcher/message_table.h"
#include "launcher/text_files.h"
#include "launcher/translation_tables.h"
#include "script/run_services.h"

namespace corvane {

// Where the build tool puts the translation files.
struct TTranslationPlaces {
  std::string workFolder;    // with a trailing backslash
  std::string productTitle;  // names the key file: title + ".mtx"
};

class TSetupTranslator : public TTranslator {
public:
  // startupMessages: the message table in force when no shared message file
  // is (the built-in texts, or lang.loc's).
  TSetupTranslator(TTextFiles& files, TTranslationPlaces places, TMessageTable startupMessages);

  // Reloads the tables for LANGUAGE; when they cannot be loaded LANGUAGE
  // becomes empty and the script goes on untranslated.
  void Refresh(TRunContext& run) override;
  std::optional<std::string> TranslateCommandText(std::string_view text, std::string_view guid,
                                                  int slot) const override;

  bool Active() const { return active_; }
  // For a dialog's captioned controls while a language is active: the
  // translation stored for the control of that dialog, else its designed
  // text (empty when none was recorded).
  std::string TranslateDialogText(std::string_view owner, std::string_view control,
                                  std::optional<std::string_view> designedText) const;

  // Why the last language could not be loaded; empty when it could.
  const std::string& LastFailure() const { return lastFailure_; }

private:
  // The key, owner, language and shared message files of a language.
  struct TLanguageFiles {
    std::string language;
    std::array<std::optional<TFileStamp>, 4> stamps;
    friend bool operator==(const TLanguageFiles&, const TLanguageFiles&) = default;
  };
  // The tables of language in force, read again only when its files changed.
  bool Follow(const std::string& language, TMessageTable& messages);
  std::array<std::string, 4> PathsOf(const std::string& language) const;
  TLanguageFiles StampsOf(const std::string& language);
  // False, with the reason in lastFailure_, when the tables cannot be had.
  bool Load(const std::string& language, TMessageTable& messages);
  void UseStartupMessages(TMessageTable& messages);

  TTextFiles& files_;
  const TTranslationPlaces places_;
  const TMessageTable startupMessages_;
  TTranslationTables tables_;
  // What the tables in force were read from: unchanged files are not read
  // again before every command.
  std::optional<TLanguageFiles> loaded_;
  bool active_ = false;
  bool sharedMessagesInForce_ = false;
  std::string lastFailure_;
};

}  // namespace corvane
