// The seams through which other parts of the engine join a run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

class TRunContext;
class TScriptContainer;

// Checks a script before it runs; a script that fails is not run.
class TScriptValidator {
public:
  virtual ~TScriptValidator() = default;
  virtual bool Validate(const TScriptContainer& container) = 0;
};

// Prepares a fresh run: the store, the predefined variables, the overrides.
class TRunInitialiser {
public:
  virtual ~TRunInitialiser() = default;
  // The steps whose failures end the start-up itself: errors escape the run.
  virtual void Prepare(TRunContext& run) = 0;
  // The steps whose failures are script errors at line 0. False ends the run
  // before its first command.
  virtual bool Complete(TRunContext& run) = 0;
};

// Script texts in the setup language.
class TTranslator {
public:
  virtual ~TTranslator() = default;
  // Before every command: follow LANGUAGE, which the script may change.
  virtual void Refresh(TRunContext& run) = 0;
  // Without an active language, nothing; with one, the translation of a
  // command's text in the given slot, or the text itself when there is none.
  virtual std::optional<std::string> TranslateCommandText(std::string_view text, std::string_view guid,
                                                          int slot) const = 0;
};

// Chooses the setup language at the start of a run and loads its
// translations, which the run's TTranslator then serves.
class TLanguageChooser {
public:
  virtual ~TLanguageChooser() = default;
  // The language name LANGUAGE takes (empty: none), or nothing when the user
  // cancelled the choice: the run then ends before its first command.
  virtual std::optional<std::string> ChooseLanguage(TRunContext& run) = 0;
};

class TRunHook {
public:
  virtual ~TRunHook() = default;
  // Before every command, after the flags are refreshed.
  virtual void BeforeCommand(TRunContext& run) = 0;
  // Once, however the run ends: release what the run left open.
  virtual void EndOfRun(TRunContext& run) noexcept = 0;
};

}  // namespace corvane
