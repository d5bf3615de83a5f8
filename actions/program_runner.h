// Starting another program through the shell, as "Run Program" does.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
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

// The worker that runs one program on its own thread; the interpreter reads
// the exit code once Done() holds.
class TRunApp {
public:
  // wakeApplication wakes the application window once the program is done.
  TRunApp(TProgramRunner& runner, TProgramStart start, std::function<void()> wakeApplication);
  void Execute() noexcept;

  bool Done() const { return done_.load(); }
  // None when the program could not be started.
  std::optional<uint32_t> ExitCode() const { return exitCode_; }

private:
  TProgramRunner& runner_;
  const TProgramStart start_;
  const std::function<void()> wakeApplication_;
  std::optional<uint32_t> exitCode_;  // written before done_ is set
  std::atomic<bool> done_ = false;
};

}  // namespace corvane
