// What the engine holds for the whole process and every part shares: the
// message table, the flags, the progress state and the variable store.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "launcher/message_table.h"
#include "script/deferred_records.h"
#include "script/engine_flags.h"
#include "script/progress_state.h"
#include "script/variable_store.h"

namespace corvane {

// What the run takes from the command line.
struct TStartOptions {
  bool silent = false;
  std::string selfExtractorPath = {};  // /m=
  std::string logPath = {};            // /l=
  std::string argumentsText = {};      // the command line less the program path
  std::vector<std::pair<std::string, std::string>> overrides = {};  // NAME=VALUE, in order
};

struct TEngineContext {
  explicit TEngineContext(TStartOptions startOptions);

  const TStartOptions options;
  TMessageTable messages;
  TEngineFlags flags;
  TProgressState progress;
  TVariableStore store;
  TDeferredRecords deferred;
};

}  // namespace corvane
