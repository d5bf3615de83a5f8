// The process-wide facts the start-up sequence establishes for the run.
#pragma once

#include <string>

#include "launcher/command_line.h"
#include "launcher/file_version.h"

namespace corvane {

struct TLaunchFacts {
  std::string enginePath;
  std::string engineFolder;     // with a trailing backslash
  std::string baseName;         // the executable's name without its extension
  std::string temporaryFolder;  // with a trailing backslash
  std::string workFolder;       // "kelN\" below the temporary folder
  std::string setupResource;    // engine folder + base name + ".res"
  std::string dataFolder;       // engine folder + "data\"
  std::string packagePath;      // the work folder's copy of the package
  TFileVersion engineVersion;
  TCommandLine commandLine;
};

}  // namespace corvane
