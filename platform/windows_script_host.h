// The script engine's host on Windows: message boxes, the message loop, the
// resume entry, the locale's date and time, and the restart request.
#pragma once

#include <functional>
#include <string>

#include "script/script_host.h"

namespace corvane {

// Enables the process's shutdown privilege and asks Windows to restart.
void RequestSystemRestart();

class TWindowsScriptHost : public TScriptHost {
public:
  using TRestartRequester = std::function<void()>;

  // Tests hand in a requester of their own, so that nothing they run can
  // restart the machine.
  explicit TWindowsScriptHost(TRestartRequester restart = RequestSystemRestart);

  int ShowMessageBox(TWindowHandle owner, const std::string& caption, const std::string& text,
                     unsigned style) override;
  void HandlePendingMessages() override;
  void HandleOneMessage() override;
  void WaitForWorker(TWorkerHandle worker) override;
  void RequestRestart() override;
  bool WriteRunValue(TRegistryRoot root, const std::string& name, const std::string& data) override;
  std::string CurrentDate() override;
  std::string CurrentTime() override;
  std::string EnginePath() override;

private:
  TRestartRequester restart_;
};

}  // namespace corvane
