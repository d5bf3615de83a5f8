// Libraries the engine binds at run time, always from the system folder: a
// setup is often started from a downloads folder, where a planted library of
// a system name must never be picked up.
#pragma once

#include <windows.h>

#include <string>

namespace corvane {

// Run first thing in the process: later LoadLibrary calls search only the
// system folder (where the system supports it), never the current folder.
void RestrictLibrarySearch();

class TSystemLibrary {
public:
  enum class TLookup {
    SystemFolder,  // by full path
    // By name, for libraries the manifest redirects (common controls 6):
    // a full path would bypass the redirection. Only safe once
    // RestrictLibrarySearch has run.
    Manifest,
  };
  explicit TSystemLibrary(const char* fileName, TLookup lookup = TLookup::SystemFolder);
  ~TSystemLibrary();
  TSystemLibrary(const TSystemLibrary&) = delete;
  TSystemLibrary& operator=(const TSystemLibrary&) = delete;

  bool Loaded() const { return module_ != nullptr; }

  // nullptr when the library or the function is missing.
  template <typename F>
  F Bind(const char* function) const {
    if (!module_) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, function)));
  }

private:
  HMODULE module_ = nullptr;
};

std::string SystemFolder();  // with a trailing backslash
std::string WithTrailingBackslash(std::string folder);

}  // namespace corvane
