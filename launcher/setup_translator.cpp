#include "launcher/setup_translator.h"

#include <utility>
#include <variant>

#include "script/run_context.h"

namespace corvane {
namespace {

constexpr std::string_view kPhaseInitialization = "Initialization";

// A language name becomes part of a file name; one that reaches into
// another folder or a file's stream names no translation.
bool NamesAFileOfTheFolder(std::string_view language) {
  return language.find_first_of("\\/:") == std::string_view::npos;
}

}  // namespace

TSetupTranslator::TSetupTranslator(TTextFiles& files, TTranslationPlaces places, TMessageTable startupMessages)
    : files_(files), places_(std::move(places)), startupMessages_(std::move(startupMessages)) {}

void TSetupTranslator::Refresh(TRunContext& run) {
  TVariableStore& store = run.Store();
  std::string language = store.Find("LANGUAGE").value_or("");
  active_ = !language.empty() && Follow(language, run.Engine().messages);
  if (!active_) {
    language.clear();
    loaded_.reset();
    UseStartupMessages(run.Engine().messages);
  }
  store.Define("LANGUAGE", language, kPhaseInitialization);
}

bool TSetupTranslator::Follow(const std::string& language, TMessageTable& messages) {
  if (!NamesAFileOfTheFolder(language)) {
    lastFailure_ = "the language name \"" + language + "\" is not a file name";
    return false;
  }
  // Stamped before reading: a file that changes meanwhile is read again next time.
  TLanguageFiles files = StampsOf(language);
  if (loaded_ == files) {
    return true;
  }
  if (!Load(language, messages)) {
    return false;
  }
  loaded_ = std::move(files);
  return true;
}

std::array<std::string, 4> TSetupTranslator::PathsOf(const std::string& language) const {
  const std::string& folder = places_.workFolder;
  return {folder + places_.productTitle + ".mtx", folder + "translations.Map", folder + "translations." + language,
          folder + "shared.translations." + language};
}

TSetupTranslator::TLanguageFiles TSetupTranslator::StampsOf(const std::string& language) {
  TLanguageFiles files{language, {}};
  const std::array<std::string, 4> paths = PathsOf(language);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    files.stamps[i] = files_.Stamp(paths[i]);
  }
  return files;
}

bool TSetupTranslator::Load(const std::string& language, TMessageTable& messages) {
  const auto [keyFile, ownerFile, languageFile, sharedFile] = PathsOf(language);
  const std::optional<std::string> keys = files_.ReadWholeFile(keyFile);
  const std::optional<std::string> owners = files_.ReadWholeFile(ownerFile);
  const std::optional<std::string> texts = files_.ReadWholeFile(languageFile);
  for (const auto& [content, path] : {std::pair{&keys, &keyFile}, {&owners, &ownerFile}, {&texts, &languageFile}}) {
    if (!*content) {
      lastFailure_ = "cannot read " + *path;
      return false;
    }
  }
  auto parsed = TTranslationTables::Parse(*keys, *owners, *texts);
  if (const std::string* reason = std::get_if<std::string>(&parsed)) {
    lastFailure_ = "translations of " + language + " are not parallel: " + *reason;
    return false;
  }
  tables_ = std::get<TTranslationTables>(std::move(parsed));
  lastFailure_.clear();

  if (const std::optional<std::string> shared = files_.ReadWholeFile(sharedFile)) {
    messages.LoadMessageFile(*shared);
    sharedMessagesInForce_ = true;
  } else {
    UseStartupMessages(messages);
  }
  return true;
}

// A language without a shared message file, or none at all, must not keep
// the messages of the one chosen before it.
void TSetupTranslator::UseStartupMessages(TMessageTable& messages) {
  if (sharedMessagesInForce_) {
    messages = startupMessages_;
    sharedMessagesInForce_ = false;
  }
}

std::optional<std::string> TSetupTranslator::TranslateCommandText(std::string_view text, std::string_view guid,
                                                                  int slot) const {
  if (!active_) {
    return std::nullopt;
  }
  return tables_.CommandText(guid, slot).value_or(std::string(text));
}

std::string TSetupTranslator::TranslateDialogText(std::string_view owner, std::string_view control,
                                                  std::optional<std::string_view> designedText) const {
  if (active_) {
    if (std::optional<std::string> translated = tables_.DialogText(owner, control)) {
      return std::move(*translated);
    }
  }
  return std::string(designedText.value_or(""));
}

}  // namespace corvane
