// Flags that the interpreter, the dialogs and the worker threads share.
#pragma once

#include <atomic>

namespace corvane {

struct TEngineFlags {
  // Set by a confirmed Cancel and whenever ABORT is assigned; read by workers.
  std::atomic<bool> cancel{false};
  // The run's silent flag: from the command line, then refreshed from
  // SILENT before every command.
  std::atomic<bool> silent{false};
  // Set while a command's worker thread runs; the displayed dialog then
  // refreshes itself from the progress state.
  std::atomic<bool> busy{false};
};

}  // namespace corvane
