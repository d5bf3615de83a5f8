// Worker threads on Windows, and the null message that wakes the
// interpreter's message wait.
#pragma once

#include <windows.h>

#include "script/worker.h"

namespace corvane {

class TWindowsWorkerThreads final : public TWorkerThreads {
public:
  // Made on the interpreter's thread: its message queue stands in for the
  // application window.
  TWindowsWorkerThreads();

  std::unique_ptr<TWorkerThread> Start(std::function<void()> work) override;
  // Posted, never sent: a sent message would block the worker until the
  // interpreter's thread takes it, and in a silent run that thread is blocked
  // waiting for the worker to end.
  void Wake(TWindowHandle window) override;

private:
  const DWORD interpreterThread_;
};

}  // namespace corvane
