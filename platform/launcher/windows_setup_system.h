// The machine a run starts on, answered by Windows; the engine's own paths
// and version are those the start-up found. The uninstall link is refreshed
// before every command, so the answers that cannot change while the engine
// runs are asked once.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "launcher/launch_facts.h"
#include "script/setup_system.h"

namespace corvane {

class TWindowsSetupSystem : public TSetupSystem {
public:
  explicit TWindowsSetupSystem(const TLaunchFacts& facts);

  std::string TemporaryFolder() override;
  std::string EngineVersion() override;
  bool IsNtFamily() override;
  // The token's groups, enabled or not, hold the administrators.
  bool IsAdministrator() override;
  std::string ShellFolder(TShellFolder folder) override;
  std::optional<std::string> ReadRegistryString(TRegistryRoot root, const std::string& key,
                                                const std::string& value) override;
  void DeleteRunValue(TRegistryRoot root, const std::string& name) override;
  bool FileExists(const std::string& path) override;
  std::optional<std::string> ReadTextFile(const std::string& path) override;
  std::string LowerCase(std::string_view text) override;
  std::string NewGuid() override;

private:
  std::string temporaryFolder_;
  std::string engineVersion_;
  std::optional<bool> ntFamily_;
  std::optional<bool> administrator_;
  std::map<TShellFolder, std::string> shellFolders_;
};

}  // namespace corvane
