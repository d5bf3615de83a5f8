// Runs a Windows program the way a user or a parent process would, for tests.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane::test {

struct TRunRequest {
  std::string program;                 // Windows path
  std::vector<std::string> arguments;  // quoted as needed
  std::string workingFolder;           // empty: the current one
  std::vector<std::pair<std::string, std::string>> environment;  // added to the parent's
  std::chrono::milliseconds timeout{std::chrono::seconds(60)};
};

struct TRunResult {
  bool started = false;
  bool timedOut = false;      // the process was killed at the timeout
  unsigned long exitCode = 0;
  std::string output;         // standard output and standard error, interleaved
  std::string error;          // why it did not start
};

TRunResult RunProgram(const TRunRequest& request);

// One argument quoted for CreateProcess's command-line parser.
std::string QuoteArgument(const std::string& argument);

}  // namespace corvane::test
