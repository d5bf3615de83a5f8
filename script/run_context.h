// One run of the script: its state, and what commands use of the engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "launcher/script_container.h"
#include "script/control_flow.h"
#include "script/engine_context.h"
#include "script/script_host.h"

namespace corvane {

class TTranslator;

// The interpreter's own state; block commands change it.
struct TRunState {
  std::size_t currentLine = 0;  // 1-based; 0 before the first command
  TFlowState flow;
  TLabelTable labels;
  bool ended = false;
  int exitCode = 0;
  TWindowHandle progressWindow = 0;  // the dialog shown non-modally
  std::string lastShownText;         // what was last pushed into the progress state
  std::int64_t lastShownPosition = 0;
  // Refreshed from LOGGED, TITLE and NOBRAND before every command.
  std::string logPath;
  std::string title;
  bool brandOff = false;
};

class TRunContext {
public:
  TRunContext(TEngineContext& engine, TScriptHost& host, const TScriptContainer& container,
              std::string packagePath, const TTranslator* translator);

  TEngineContext& Engine() { return engine_; }
  TVariableStore& Store() { return engine_.store; }
  TScriptHost& Host() { return host_; }
  const TScriptContainer& Container() const { return container_; }
  // The work folder's copy of the installer package.
  const std::string& PackagePath() const { return packagePath_; }
  TRunState& State() { return state_; }

  // The command being run.
  std::size_t CommandIndex() const { return state_.currentLine - 1; }
  const std::string& CommandName() const { return container_.Name(CommandIndex()); }
  // Parameter line n (1-based), as written, substituted, or normalised.
  std::string Line(std::size_t n) const;
  std::string SubstitutedLine(std::size_t n) const;
  std::string NormalisedLine(std::size_t n) const;
  // With an active language, the translation of this command's text in slot.
  std::optional<std::string> Translation(std::string_view text, int slot) const;

  // The result variable convention: a missing variable is defined under its
  // upper-case name, then set; the phase is the command name + " Action".
  void StoreResult(std::string_view name, std::string_view value);

  void EndRun() { state_.ended = true; }
  bool Silent() const { return engine_.flags.silent; }
  std::string Caption() const;  // the wizard caption
  // Interactive: one window message; silent: until the worker has ended.
  void WaitStep(TWorkerHandle worker = nullptr);

private:
  TEngineContext& engine_;
  TScriptHost& host_;
  const TScriptContainer& container_;
  const std::string packagePath_;
  const TTranslator* translator_;
  TRunState state_;
};

}  // namespace corvane
