// Registry keys and tokens, closed when they go.
#pragma once

#include <windows.h>

#include "script/script_host.h"

namespace corvane {

inline constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

inline HKEY RootKeyOf(TRegistryRoot root) {
  return root == TRegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

class TRegistryKey {
public:
  TRegistryKey() = default;
  TRegistryKey(const TRegistryKey&) = delete;
  TRegistryKey& operator=(const TRegistryKey&) = delete;
  ~TRegistryKey() {
    if (key_ != nullptr) {
      RegCloseKey(key_);
    }
  }
  HKEY* Out() { return &key_; }
  HKEY Get() const { return key_; }

private:
  HKEY key_ = nullptr;
};

// A process or thread token.
class TTokenHandle {
public:
  TTokenHandle() = default;
  TTokenHandle(const TTokenHandle&) = delete;
  TTokenHandle& operator=(const TTokenHandle&) = delete;
  ~TTokenHandle() {
    if (handle_ != nullptr) {
      CloseHandle(handle_);
    }
  }
  HANDLE* Out() { return &handle_; }
  HANDLE Get() const { return handle_; }

private:
  HANDLE handle_ = nullptr;
};

}  // namespace corvane
