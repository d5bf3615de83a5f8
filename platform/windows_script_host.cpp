#include "platform/windows_script_host.h"

#include <windows.h>

#include <utility>

#include "platform/win_handles.h"

namespace corvane {
namespace {

void Dispatch(const MSG& message) {
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

// GetDateFormatA and GetTimeFormatA report the size they need, NUL included;
// both calls format the same moment, so the size holds.
template <typename TFormatter>
std::string FormatNow(TFormatter format) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const int size = format(&now, nullptr, 0);
  if (size <= 0) {
    return {};
  }
  std::string text(static_cast<std::size_t>(size), '\0');
  const int written = format(&now, text.data(), size);
  text.resize(written > 0 ? static_cast<std::size_t>(written - 1) : 0);
  return text;
}

}  // namespace

void RequestSystemRestart() {
  TTokenHandle token;
  if (OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Out())) {
    TOKEN_PRIVILEGES privileges{};
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
      privileges.PrivilegeCount = 1;
      privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
      AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    }
  }
  ExitWindowsEx(EWX_REBOOT, 0);
}

TWindowsScriptHost::TWindowsScriptHost(TRestartRequester restart) : restart_(std::move(restart)) {}

int TWindowsScriptHost::ShowMessageBox(TWindowHandle owner, const std::string& caption, const std::string& text,
                                       unsigned style) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text.c_str(), caption.c_str(), style);
}

void TWindowsScriptHost::HandlePendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    Dispatch(message);
  }
}

void TWindowsScriptHost::HandleOneMessage() {
  MSG message;
  if (GetMessageA(&message, nullptr, 0, 0) > 0) {
    Dispatch(message);
  }
}

void TWindowsScriptHost::WaitForWorker(TWorkerHandle worker) { WaitForSingleObject(worker, INFINITE); }

void TWindowsScriptHost::RequestRestart() { restart_(); }

bool TWindowsScriptHost::WriteRunValue(TRegistryRoot root, const std::string& name, const std::string& data) {
  TRegistryKey key;
  if (RegCreateKeyExA(RootKeyOf(root), kRunKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Out(),
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExA(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

std::string TWindowsScriptHost::CurrentDate() {
  return FormatNow([](const SYSTEMTIME* now, char* buffer, int size) {
    return GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, now, nullptr, buffer, size);
  });
}

std::string TWindowsScriptHost::CurrentTime() {
  return FormatNow([](const SYSTEMTIME* now, char* buffer, int size) {
    return GetTimeFormatA(LOCALE_USER_DEFAULT, 0, now, nullptr, buffer, size);
  });
}

std::string TWindowsScriptHost::EnginePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace corvane
