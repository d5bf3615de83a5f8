// "Extract 7Zip Archive" and "Run Light Mode Setup".
#pragma once

#include "actions/program_runner.h"
#include "media/archive_library.h"
#include "media/media_files.h"
#include "script/worker.h"

namespace corvane {

class TCommandTable;

// What the commands use for the whole engine process; it must outlive the
// command table they are registered in.
struct TArchiveCommandServices {
  TArchiveLibrary& library;
  TMediaFiles& files;
  TWorkerThreads& workers;
  TProgramRunner& programs;
};

void RegisterArchiveCommands(TCommandTable& table, TArchiveCommandServices& services);

}  // namespace corvane
