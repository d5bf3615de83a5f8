#include "installer/product_instance.h"

#include <vector>

#include "actions/path_text.h"
#include "dialogs/feature_selections.h"
#include "dialogs/run_feature_variables.h"
#include "launcher/script_container.h"
#include "script/command_table.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::string_view kPhaseBootstrap = "Bootstrap";
constexpr std::string_view kPhaseInitialization = "Initialization";
constexpr std::string_view kApplicationDataName = "Application Data\\";
// Installation data fetched on demand, kept in the maintenance folder.
constexpr int kMediaLayoutOnDemand = 2;
// The setup's marker looked for in the source folder: the uninstall link is
// whatever the registration wrote.
constexpr int kMediaLayoutMarker = 3;

std::vector<std::string> TextLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

std::string ParentFolder(std::string_view folder) {
  return WithTrailingBackslash(FolderPart(WithoutTrailingBackslash(folder)));
}

std::string BaseNameOf(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  return std::string(name.substr(0, name.size() - ExtensionPart(path).size()));
}

// "UninstallString" as written: the path between the first two double quotes
// (the first one removed, everything from the next one on cut).
std::string UnquotedProgram(std::string text) {
  const std::size_t first = text.find('"');
  if (first == std::string::npos) return text;
  text.erase(first, 1);
  const std::size_t next = text.find('"', first);
  if (next != std::string::npos) text.erase(next);
  return text;
}

TRegistryRoot RootOf(TInstanceScope scope) {
  return scope == TInstanceScope::AllUsers ? TRegistryRoot::LocalMachine : TRegistryRoot::CurrentUser;
}

}  // namespace

TProductInstance::TProductInstance(TSetupSystem& system, TInstallerApi& installer, TFeatureModel& model)
    : system_(system), installer_(installer), model_(model) {}

void TProductInstance::ClearComponents() { model_.Clear(); }

std::string TProductInstance::ProductName() const { return identity_.productName; }

void TProductInstance::DefinePredefinedComponent() { model_.Define(kPredefinedComponent, "", true); }

std::string TProductInstance::ApplicationDataFolder(TInstanceScope scope) const {
  if (!system_.IsNtFamily()) return WithTrailingBackslash(system_.ShellFolder(TShellFolder::CommonProgramFiles));
  const TShellFolder desktop = scope == TInstanceScope::AllUsers ? TShellFolder::CommonDesktop : TShellFolder::Desktop;
  return ParentFolder(system_.ShellFolder(desktop)) + std::string(kApplicationDataName);
}

std::string TProductInstance::MaintenanceFolder(TInstanceScope scope) const {
  return ApplicationDataFolder(scope) + identity_.revisionCode + "\\";
}

TInstanceScope TProductInstance::DefaultScope() const {
  return system_.IsNtFamily() && system_.IsAdministrator() ? TInstanceScope::AllUsers : TInstanceScope::CurrentUser;
}

TInstanceScope TProductInstance::ScopeOf(TRunContext& run) const {
  return IsTrue(run.Store().Find("ALLUSERS").value_or("")) ? TInstanceScope::AllUsers : TInstanceScope::CurrentUser;
}

std::string TProductInstance::DefaultTargetFolder() const {
  const bool programFiles = !system_.IsNtFamily() || system_.IsAdministrator();
  const std::string base = programFiles ? WithTrailingBackslash(system_.ShellFolder(TShellFolder::ProgramFiles))
                                        : ParentFolder(system_.ShellFolder(TShellFolder::Documents));
  return base + identity_.productName + "\\";
}

TProductInstance::TInstalledState TProductInstance::QueryInstalledState() {
  const TInstanceIdentity& identity = identity_;
  try {
    if (installer_.QueryProductState(identity.productCode) != kInstallStateDefault) return {};
    const TInstallerReply<std::string> packageCode = installer_.GetProductInfo(identity.productCode, "PackageCode");
    if (!packageCode.Succeeded()) return {};
    const bool needsUpgrade = !EqualIgnoringCase(packageCode.value, identity.revisionCode);
    return {needsUpgrade, !needsUpgrade};
  } catch (const std::exception&) {
    // No Windows Installer, or one that fails: a first installation.
    return {};
  }
}

bool TProductInstance::IsInstalled(const std::string& productCode) {
  return installer_.QueryProductState(productCode) == kInstallStateDefault;
}

void TProductInstance::DetectInstance(TRunContext& run) {
  TVariableStore& store = run.Store();
  const TContainerSections& sections = run.Container().Sections();
  if (!identityKnown_) {
    identity_ = {sections.productCode, sections.revisionCode, sections.title};
    identityKnown_ = true;
  }
  const std::string enginePath = run.Host().EnginePath();
  const std::string engineFolder(FolderPart(enginePath));
  const std::string baseName = BaseNameOf(enginePath);

  const std::optional<std::string> instanceFile = system_.ReadTextFile(engineFolder + std::string(kInstanceFileName));
  if (instanceFile) {
    const std::vector<std::string> lines = TextLines(*instanceFile);
    std::string* fields[] = {&identity_.productCode, &identity_.revisionCode, &identity_.productName};
    for (std::size_t i = 0; i < lines.size() && i < std::size(fields); ++i) *fields[i] = lines[i];
  }
  store.Define("PRODUCTCODE", identity_.productCode, kPhaseBootstrap);
  store.Define("REVISIONCODE", identity_.revisionCode, kPhaseBootstrap);

  const std::string defaultMaintenanceFolder = MaintenanceFolder(DefaultScope());
  store.Define("UNINSTALLLINK", defaultMaintenanceFolder + std::string(FileNamePart(enginePath)), kPhaseBootstrap);
  dataFolder_ = engineFolder + "data\\";
  if (sections.mediaLayout == kMediaLayoutOnDemand) {
    offlineSourceFolder_ = dataFolder_;
    dataFolder_ = defaultMaintenanceFolder;
  }
  store.Define("DATADIR", dataFolder_, kPhaseBootstrap);

  const TInstalledState installed = QueryInstalledState();
  store.Define("NEEDSUPGRADE", BooleanText(installed.needsUpgrade), kPhaseBootstrap);
  store.Define("MAINTENANCE", BooleanText(installed.maintenance), kPhaseBootstrap);
  if (installed.maintenance) {
    RestoreMaintenanceState(run, baseName);
  } else {
    ApplyFirstInstallDefaults(run);
  }
  const bool newInstance = !instanceFile && (installed.maintenance || installed.needsUpgrade);
  store.Define("NEWINSTANCE", BooleanText(newInstance), kPhaseBootstrap);
}

void TProductInstance::LoadSavedSelections(TRunContext& run, const std::string& file) {
  const std::optional<std::string> selections = system_.ReadTextFile(file);
  if (!selections) return;
  TRunFeatureVariables variables(run);
  ApplySelections(model_, ParseSelections(*selections), variables, TSelectionsLoad::Append);
  model_.SetInstalledSize(model_.SelectedSize());
}

void TProductInstance::LoadRecordedProperties(TRunContext& run, const std::string& file) {
  if (const std::optional<std::string> properties = system_.ReadTextFile(file)) {
    run.Engine().deferred.recordedProperties = TextLines(*properties);
  }
}

void TProductInstance::RestoreMaintenanceState(TRunContext& run, const std::string& baseName) {
  const std::string currentUserFolder = MaintenanceFolder(TInstanceScope::CurrentUser);
  const bool currentUser = system_.FileExists(currentUserFolder + baseName + ".dat");
  const std::string folder = currentUser ? currentUserFolder : MaintenanceFolder(TInstanceScope::AllUsers);
  LoadSavedSelections(run, folder + baseName + ".dat");
  LoadRecordedProperties(run, folder + baseName + ".par");
}

void TProductInstance::ApplyFirstInstallDefaults(TRunContext& run) {
  TVariableStore& store = run.Store();
  model_.ResetForFirstInstall();
  run.Engine().deferred.recordedProperties.clear();
  store.Define("TARGETDIR", DefaultTargetFolder(), kPhaseBootstrap);
  store.Define("STARTMENU", identity_.productName, kPhaseBootstrap);
  store.Define("ALLUSERS", BooleanText(DefaultScope() == TInstanceScope::AllUsers), kPhaseBootstrap);
}

void TProductInstance::PreparePatch(TRunContext& run) {
  const std::string key = std::string(kUninstallKey) + run.Store().Find("TITLE").value_or("");
  std::string uninstall = system_.ReadRegistryString(TRegistryRoot::CurrentUser, key, "UninstallString").value_or("");
  if (uninstall.empty()) {
    uninstall = system_.ReadRegistryString(TRegistryRoot::LocalMachine, key, "UninstallString").value_or("");
  }
  const std::string program = UnquotedProgram(uninstall);
  const std::string cacheName(FileNamePart(WithoutTrailingBackslash(FolderPart(program))));
  if (cacheName.empty()) return;
  const std::string baseName = BaseNameOf(run.PackagePath());
  std::string cacheFolder = ApplicationDataFolder(TInstanceScope::CurrentUser) + cacheName + "\\";
  if (!system_.FileExists(cacheFolder + baseName + ".dat")) {
    cacheFolder = ApplicationDataFolder(TInstanceScope::AllUsers) + cacheName + "\\";
  }
  // The patch run stands for the installed instance: its selections replace
  // what this run seeded, the predefined component kept.
  if (system_.FileExists(cacheFolder + baseName + ".dat")) {
    model_.Clear();
    LoadSavedSelections(run, cacheFolder + baseName + ".dat");
    DefinePredefinedComponent();
  }
  LoadRecordedProperties(run, cacheFolder + baseName + ".par");
}

void TProductInstance::BeforeCommand(TRunContext& run) {
  TVariableStore& store = run.Store();
  const TInstanceScope scope = ScopeOf(run);
  std::string link;
  if (run.Container().Sections().mediaLayout == kMediaLayoutMarker) {
    const TRegistryRoot root = system_.IsNtFamily() ? RootOf(scope) : TRegistryRoot::LocalMachine;
    const std::string key = std::string(kUninstallKey) + store.Find("TITLE").value_or("");
    link = UnquotedProgram(system_.ReadRegistryString(root, key, "UninstallString").value_or(""));
  } else {
    link = MaintenanceFolder(scope) + std::string(FileNamePart(run.Host().EnginePath()));
  }
  store.Define("UNINSTALLLINK", link, kPhaseInitialization);
}

void TProductInstance::Transform(TRunContext& run) {
  if (!IsTrue(run.Store().Find("NEWINSTANCE").value_or("")) || system_.FileExists(PatchPathOf(run.PackagePath()))) {
    return;
  }
  identity_.productCode = system_.NewGuid();
  identity_.revisionCode = system_.NewGuid();
  newInstanceRequested_ = true;
  DetectInstance(run);
}

void RegisterInstanceCommands(TCommandTable& table, TProductInstance& instance) {
  table.Register("Transform Instance", [&instance](TRunContext& run) { instance.Transform(run); });
  table.Register("Is MSI Setup Installed", [&instance](TRunContext& run) {
    const bool installed = instance.IsInstalled(run.NormalisedLine(1));
    run.StoreResult(NamedVariable(run.Line(2)), BooleanText(installed));
  });
}

}  // namespace corvane
