// Starting another program through the shell, as "Run Program" does.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

struct TProgramStart {
  std::string file;
  std::string parameters;
  bool hidden = false;
  bool wait = true;  // until the program ends
};

// The exit status a program has while it still runs.
inline constexpr uint32_t kStillActive = 259;

class TProgramRunner {
public:
  virtual ~TProgramRunner() = default;
  // Runs on a worker thread. The program's exit code (kStillActive when not
  // waited for and still running); none when it could not be started.
  virtual std::optional<uint32_t> Run(const TProgramStart& start) = 0;
};

}  // namespace corvane
