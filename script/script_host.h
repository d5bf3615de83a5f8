// Everything the script engine needs from Windows, so that the engine itself
// builds and is tested anywhere. Calls come from the main thread.
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

using TWindowHandle = std::uintptr_t;  // 0: no window
using TWorkerHandle = void*;           // a worker thread's handle; nullptr: none

enum class TRegistryRoot { CurrentUser, LocalMachine };

// The style of the engine's error messages: OK button, error icon.
inline constexpr unsigned kBoxIconError = 0x10;

class TScriptHost {
public:
  virtual ~TScriptHost() = default;

  // A modal message box; the code of the button pressed (1 OK ... 7 No).
  virtual int ShowMessageBox(TWindowHandle owner, const std::string& caption, const std::string& text,
                             unsigned style) = 0;
  // Handles every queued window message, without waiting.
  virtual void HandlePendingMessages() = 0;
  // Handles exactly one window message, waiting for one when none is queued.
  virtual void HandleOneMessage() = 0;
  virtual void WaitForWorker(TWorkerHandle worker) = 0;
  // Enables the shutdown privilege and asks the system to restart.
  virtual void RequestRestart() = 0;
  // A value under SOFTWARE\Microsoft\Windows\CurrentVersion\Run (the key is
  // created when missing); false when the registry refuses.
  virtual bool WriteRunValue(TRegistryRoot root, const std::string& name, const std::string& data) = 0;
  virtual std::string CurrentDate() = 0;  // the user's short date format
  virtual std::string CurrentTime() = 0;  // the user's long time format
  virtual std::string EnginePath() = 0;   // full path of the running executable
};

}  // namespace corvane
