// Runs a script from its first command to its last on the main thread: the
// command cycle, dispatch through the command table, and the reporting of
// script errors.
#pragma once

#include <string>
#include <vector>

#include "launcher/script_container.h"
#include "script/command_table.h"
#include "script/engine_context.h"
#include "script/run_context.h"
#include "script/run_services.h"
#include "script/script_host.h"

namespace corvane {

struct TInterpreterServices {
  TRunInitialiser& initialiser;
  TScriptValidator* validator = nullptr;   // none: every script runs
  TTranslator* translator = nullptr;       // none: no setup language
  std::vector<TRunHook*> hooks = {};
};

class TInterpreter {
public:
  TInterpreter(TEngineContext& engine, TScriptHost& host, const TCommandTable& commands, TInterpreterServices services);

  // packagePath: the work folder's copy of the installer package. Returns the
  // exit code the script set (0 unless "Terminate with Exit Code" ran).
  int Run(const TScriptContainer& container, const std::string& packagePath);

private:
  void RunCycle(TRunContext& run, const std::vector<const TCommandHandler*>& handlers);

  TEngineContext& engine_;
  TScriptHost& host_;
  const TCommandTable& commands_;
  TInterpreterServices services_;
};

}  // namespace corvane
