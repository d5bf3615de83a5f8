// A loaded DLL, freed with its owner.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace corvane::kel {

class TModuleLibrary {
public:
  // Loads by full path; its own dependencies are looked up beside it.
  explicit TModuleLibrary(const std::wstring& path)
      : module_(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}
  ~TModuleLibrary() {
    if (module_) FreeLibrary(module_);
  }
  TModuleLibrary(TModuleLibrary&& other) noexcept : module_(std::exchange(other.module_, nullptr)) {}
  TModuleLibrary& operator=(TModuleLibrary&&) = delete;
  TModuleLibrary(const TModuleLibrary&) = delete;
  TModuleLibrary& operator=(const TModuleLibrary&) = delete;

  explicit operator bool() const { return module_ != nullptr; }

  template <class TFunction>
  TFunction Function(const char* name) const {
    return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

private:
  HMODULE module_;
};

}  // namespace corvane::kel
