// Long work on a thread of its own while the interpreter, on the main thread,
// repeats wait steps until the work is done.
#pragma once

#include <functional>
#include <memory>

#include "script/engine_flags.h"
#include "script/script_host.h"

namespace corvane {

class TRunContext;

// A running worker thread; destroying it waits for the thread to end.
class TWorkerThread {
public:
  virtual ~TWorkerThread() = default;
  virtual TWorkerHandle Handle() const = 0;
};

class TWorkerThreads {
public:
  virtual ~TWorkerThreads() = default;
  // Runs work on a new thread; throws when the system starts none.
  virtual std::unique_ptr<TWorkerThread> Start(std::function<void()> work) = 0;
  // Callable from any thread: ends the interpreter's current message wait
  // with a null message to the window, or to the application window for 0.
  virtual void Wake(TWindowHandle window) = 0;
};

// The busy flag, set for the scope's lifetime.
class TBusyScope {
public:
  explicit TBusyScope(TEngineFlags& flags) : flags_(flags) { flags_.busy = true; }
  ~TBusyScope() { flags_.busy = false; }
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

private:
  TEngineFlags& flags_;
};

// The interpreter's side of a worker: until done() holds, beforeStep, one
// wait step, afterStep. Errors of the steps propagate.
void WaitUntilWorkerDone(TRunContext& run, const TWorkerThread& worker, const std::function<bool()>& done,
                         const std::function<void()>& beforeStep, const std::function<void()>& afterStep = {});

}  // namespace corvane
