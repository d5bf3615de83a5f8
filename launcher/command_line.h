// The engine's command line: options anywhere, first match wins, and
// NAME=VALUE pairs that override script variables.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

struct TCommandLine {
  bool silent = false;
  std::string selfExtractorPath;   // /m=
  std::string logPath;             // /l= or -l=
  std::string cachedSetupFolder;   // /p= or -p=
  std::string archiveKey;          // /k= or -k=, letter case kept
  std::vector<std::pair<std::string, std::string>> overrides;
  std::string argumentsText;       // CMDLINE: the raw line less the program path
};

// Arguments as the C runtime splits them, without the program (argv[1..]).
TCommandLine ParseCommandLine(const std::vector<std::string>& arguments, std::string_view rawCommandLine);

// The raw command line without its program path.
std::string ArgumentsText(std::string_view rawCommandLine);

}  // namespace corvane
