// "Extract 7Zip Archive" and "Run Light Mode Setup" with their Windows
// services: kel.dll, the file system, worker threads and the shell.
#pragma once

#include "media/archive_commands.h"
#include "platform/actions/shell_program_runner.h"
#include "platform/media/kel_archive_library.h"
#include "platform/media/windows_media_files.h"
#include "platform/windows_workers.h"

namespace corvane {

// Registers the commands, which use it while the script runs. Made on the
// interpreter's thread.
class TWindowsArchiveCommands {
public:
  explicit TWindowsArchiveCommands(TCommandTable& table);
  TWindowsArchiveCommands(const TWindowsArchiveCommands&) = delete;
  TWindowsArchiveCommands& operator=(const TWindowsArchiveCommands&) = delete;

private:
  TKelArchiveLibrary library_;
  TWindowsMediaFiles files_;
  TWindowsWorkerThreads workers_;
  TShellProgramRunner programs_;
  TArchiveCommandServices services_{library_, files_, workers_, programs_};
};

}  // namespace corvane
