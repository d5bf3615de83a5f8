// From process entry to exit code: checks, the container, the work folder,
// the setup resource, the dialogs, the script, the clean-up.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "launcher/launch_facts.h"
#include "launcher/startup_host.h"

namespace corvane {

class TMessageTable;
class TScriptContainer;

// Exit codes of the start-up itself; the script sets any other.
enum TStartupExit : int {
  kExitEscapedError = 11,
  kExitOldCommonControls = 12,
  kExitNoContainer = 13,
  kExitNoSetupResource = 14,
  kExitSetupResourceDamaged = 15,
  kExitNoPackage = 16,
};

// Loads one dialog instance per shown "Display Dialog" line, before the run.
class TDialogPreloader {
public:
  virtual ~TDialogPreloader() = default;
  virtual void Prepare(const std::string& workFolder) = 0;
  virtual void Load(const std::string& key, const std::string& dialogFile) = 0;
};

struct TStartupParts {
  TStartupHost& host;
  TMessageTable& messages;
  TDialogPreloader& dialogs;
  // Runs the script; returns the exit code it set.
  std::function<int(const TScriptContainer&, const TLaunchFacts&)> runScript;
};

class TStartupSequence {
public:
  explicit TStartupSequence(TStartupParts parts) : parts_(std::move(parts)) {}

  int Run();

  const TLaunchFacts& Facts() const { return facts_; }

private:
  struct TOutcome {
    int exitCode = 0;
    bool workFolderKept = false;  // the early failures leave it behind
  };
  TOutcome RunFromContainer(std::unique_ptr<TPreparationWindows>& windows);
  void PreloadDialogs(const TScriptContainer& container, TPreparationWindows* windows);
  void LoadMessageFile();
  std::string Caption() const;
  void Fail(int message, bool owned, const std::string& detail = {});

  TStartupParts parts_;
  TLaunchFacts facts_;
};

// "C:\a\setup.exe" -> folder "C:\a\", base name "setup".
std::string FolderOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

}  // namespace corvane
