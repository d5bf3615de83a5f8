// Which product instance a run belongs to, and whether that product is
// installed already (maintenance) or in another version (upgrade): the
// start of the run asks, the interpreter refreshes UNINSTALLLINK before every
// command, and "Transform Instance" makes the run a new instance.
#pragma once

#include <optional>
#include <string>

#include "dialogs/feature_model.h"
#include "installer/installer_api.h"
#include "script/run_services.h"
#include "script/setup_init.h"
#include "script/setup_system.h"

namespace corvane {

class TCommandTable;

inline constexpr std::string_view kInstanceFileName = "instance.dat";
inline constexpr std::string_view kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Process-wide: from the script container, an instance file, or new GUIDs.
struct TInstanceIdentity {
  std::string productCode;
  std::string revisionCode;  // the package code of the package this setup carries
  std::string productName;
};

enum class TInstanceScope { CurrentUser, AllUsers };

class TProductInstance : public TProductStart, public TRunHook {
public:
  TProductInstance(TSetupSystem& system, TInstallerApi& installer, TFeatureModel& model);

  void ClearComponents() override;
  void DetectInstance(TRunContext& run) override;
  std::string ProductName() const override;
  void DefinePredefinedComponent() override;
  void PreparePatch(TRunContext& run) override;

  // The uninstall link refresh.
  void BeforeCommand(TRunContext& run) override;
  void EndOfRun(TRunContext&) noexcept override {}

  // "Transform Instance": only for a new instance of an installed product,
  // and never for a patch.
  void Transform(TRunContext& run);
  // False, too, when Windows Installer cannot answer.
  bool IsInstalled(const std::string& productCode);

  // For the registration after Apply Changes, package preparation and the media step.
  const TInstanceIdentity& Identity() const { return identity_; }
  // Application data folder of the scope + revision code + "\".
  std::string MaintenanceFolder(TInstanceScope scope) const;
  // The one of the run's scope, which ALLUSERS decides.
  std::string MaintenanceFolder(TRunContext& run) const { return MaintenanceFolder(ScopeOf(run)); }
  std::string ApplicationDataFolder(TInstanceScope scope) const;
  const std::string& DataFolder() const { return dataFolder_; }
  // Media layout 2: the "data\" folder beside the executable.
  const std::string& OfflineSourceFolder() const { return offlineSourceFolder_; }
  bool NewInstanceRequested() const { return newInstanceRequested_; }

private:
  struct TInstalledState {
    bool needsUpgrade = false;
    bool maintenance = false;
  };
  TInstalledState QueryInstalledState();
  void RestoreMaintenanceState(TRunContext& run, const std::string& baseName);
  void ApplyFirstInstallDefaults(TRunContext& run);
  // What a cached setup saved; a missing file changes nothing.
  void LoadSavedSelections(TRunContext& run, const std::string& file);
  void LoadRecordedProperties(TRunContext& run, const std::string& file);
  std::string DefaultTargetFolder() const;
  TInstanceScope DefaultScope() const;
  TInstanceScope ScopeOf(TRunContext& run) const;

  TSetupSystem& system_;
  TInstallerApi& installer_;
  TFeatureModel& model_;
  // Taken from the container at the first detection.
  TInstanceIdentity identity_;
  bool identityKnown_ = false;
  std::string dataFolder_;
  std::string offlineSourceFolder_;
  bool newInstanceRequested_ = false;
};

// "Transform Instance" and "Is MSI Setup Installed".
void RegisterInstanceCommands(TCommandTable& table, TProductInstance& instance);

}  // namespace corvane
