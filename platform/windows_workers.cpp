#include "platform/windows_workers.h"

#include <stdexcept>
#include <string>

namespace corvane {
namespace {

class TWindowsWorkerThread final : public TWorkerThread {
public:
  explicit TWindowsWorkerThread(HANDLE thread) : thread_(thread) {}
  ~TWindowsWorkerThread() override {
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
  }
  TWindowsWorkerThread(const TWindowsWorkerThread&) = delete;
  TWindowsWorkerThread& operator=(const TWindowsWorkerThread&) = delete;

  TWorkerHandle Handle() const override { return thread_; }

private:
  HANDLE thread_;
};

DWORD WINAPI RunWork(void* parameter) {
  const std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
  try {
    (*work)();
  } catch (...) {
    // Workers report through their jobs; nothing may escape the thread.
  }
  return 0;
}

}  // namespace

TWindowsWorkerThreads::TWindowsWorkerThreads() : interpreterThread_(GetCurrentThreadId()) {}

std::unique_ptr<TWorkerThread> TWindowsWorkerThreads::Start(std::function<void()> work) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  const HANDLE thread = CreateThread(nullptr, 0, RunWork, owned.get(), 0, nullptr);
  if (thread == nullptr) {
    throw std::runtime_error("The worker thread could not be started (error " + std::to_string(GetLastError()) +
                             ")");
  }
  owned.release();  // the thread owns it now
  return std::make_unique<TWindowsWorkerThread>(thread);
}

void TWindowsWorkerThreads::Wake(TWindowHandle window) {
  if (window != 0) {
    PostMessageA(reinterpret_cast<HWND>(window), WM_NULL, 0, 0);
  } else {
    PostThreadMessageA(interpreterThread_, WM_NULL, 0, 0);
  }
}

}  // namespace corvane
