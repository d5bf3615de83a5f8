#include "platform/actions/shell_program_runner.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <optional>

namespace corvane {
namespace {

// The shell may hand the launch to COM objects on this thread.
class TComApartment {
public:
  TComApartment() : initialised_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
  ~TComApartment() {
    if (initialised_) CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;

private:
  bool initialised_;
};

class TProcessHandle {
public:
  explicit TProcessHandle(HANDLE process) : process_(process) {}
  ~TProcessHandle() {
    if (process_) CloseHandle(process_);
  }
  TProcessHandle(const TProcessHandle&) = delete;
  TProcessHandle& operator=(const TProcessHandle&) = delete;
  HANDLE Get() const { return process_; }

private:
  HANDLE process_;
};

// The process, or nullptr for a launch that has none; nothing when the shell failed.
std::optional<HANDLE> Launch(const TProgramStart& start, const char* verb) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = verb;
  info.lpFile = start.file.c_str();
  info.lpParameters = start.parameters.empty() ? nullptr : start.parameters.c_str();
  info.nShow = start.hidden ? SW_HIDE : SW_SHOWNORMAL;
  if (!ShellExecuteExA(&info)) return std::nullopt;
  return info.hProcess;
}

}  // namespace

std::optional<uint32_t> TShellProgramRunner::Run(const TProgramStart& start) {
  const TComApartment com;
  std::optional<HANDLE> launched = Launch(start, "open");
  if (!launched) launched = Launch(start, nullptr);
  // A launch the shell handed to a running program has no process of its own.
  if (!launched || !*launched) return std::nullopt;
  const TProcessHandle process(*launched);
  if (start.wait) {
    while (WaitForSingleObject(process.Get(), 1000) == WAIT_TIMEOUT) {
    }
  }
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.Get(), &exitCode)) return std::nullopt;
  return exitCode;
}

}  // namespace corvane
