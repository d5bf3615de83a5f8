// A system library bound by name on first use, so the engine starts where
// the library is absent and can use it once something installed it.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <unordered_map>

namespace corvane {

class TLateBoundLibrary {
public:
  // fileName: a library of the system folder, e.g. "msi.dll".
  explicit TLateBoundLibrary(std::string fileName);
  ~TLateBoundLibrary();
  TLateBoundLibrary(const TLateBoundLibrary&) = delete;
  TLateBoundLibrary& operator=(const TLateBoundLibrary&) = delete;

  // The function's address, looked up once. Throws TInstallerBindError when
  // the library cannot be loaded (tried again on the next call) or lacks the
  // function.
  void* Address(const std::string& function);

  template <typename F>
  F Function(const std::string& function) {
    return reinterpret_cast<F>(Address(function));
  }

private:
  HMODULE Module();  // called under mutex_

  const std::string fileName_;
  std::mutex mutex_;
  HMODULE module_ = nullptr;
  std::unordered_map<std::string, void*> addresses_;
};

// The system folder's full path of a library: never a bare name, which the
// loader would also look for beside the setup, where a planted copy may wait.
std::string SystemLibraryPath(const std::string& fileName);

}  // namespace corvane
