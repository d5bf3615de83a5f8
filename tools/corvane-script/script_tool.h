// The corvane-script command line: compile and dump, with their file handling.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace corvane::authoring {

// Exit codes, listed in README.md.
enum TExitCode : int {
  kExitOk = 0,
  kExitBadInput = 1,  // the source, container or engine is faulty
  kExitUsage = 2,     // the command line is wrong
  kExitFileError = 3, // a file cannot be read or written
};

// arguments excludes the program name. Results go to out, messages to err.
int RunScriptTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace corvane::authoring
