#include "launcher/startup_sequence.h"

#include <cstdint>
#include <span>
#include <stdexcept>

#include "launcher/message_table.h"
#include "launcher/script_container.h"

namespace corvane {
namespace {

constexpr int kMessageOldCommonControls = 1;
constexpr int kMessageNoSetupResource = 2;
constexpr int kMessageSetupResourceDamaged = 3;
constexpr int kMessageNoPackage = 4;
constexpr int kMessageRuntimeErrorInInstall = 5;
// Shown when the executable was started without a script; deliberately not
// translatable, it is meant for the people who build setups.
constexpr const char* kNoContainerText = "For internal use only";

std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::string FolderOf(const std::string& path) {
  auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string{} : path.substr(0, slash + 1);
}

std::string BaseNameOf(const std::string& path) {
  std::string name = path.substr(FolderOf(path).size());
  auto dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string TStartupSequence::Caption() const { return WizardCaption(parts_.messages, "", false); }

void TStartupSequence::Fail(int message, bool owned, const std::string& detail) {
  if (facts_.commandLine.silent) return;
  parts_.host.ShowError(Caption(), parts_.messages.Text(message) + detail, owned);
}

void TStartupSequence::LoadMessageFile() {
  // Read from the file rather than through a temporary copy: two setups
  // starting together cannot trip over each other's lang.loc.
  auto library = parts_.host.ReadWholeFile(facts_.engineFolder + "kel.dll");
  if (!library) return;
  auto appended = AppendedData(BytesOf(*library));
  if (appended && !appended->empty()) parts_.messages.LoadMessageFile(*appended);
}

int TStartupSequence::Run() {
  TStartupHost& host = parts_.host;
  facts_.engineVersion = host.EngineVersion();
  host.RestrictToFirstProcessor();
  facts_.enginePath = host.EnginePath();
  facts_.engineFolder = FolderOf(facts_.enginePath);
  facts_.baseName = BaseNameOf(facts_.enginePath);
  facts_.temporaryFolder = host.TemporaryFolder();
  LoadMessageFile();
  facts_.setupResource = facts_.engineFolder + facts_.baseName + ".res";
  facts_.commandLine = ParseCommandLine(host.Arguments(), host.RawCommandLine());

  if (CommonControlsTooOld(host.CommonControlsVersion())) {
    Fail(kMessageOldCommonControls, false);
    return kExitOldCommonControls;
  }

  std::unique_ptr<TPreparationWindows> windows;
  if (!facts_.commandLine.silent) windows = host.ShowPreparation(facts_.engineFolder + "setup.bmp", parts_.messages);

  TOutcome outcome;
  try {
    outcome = RunFromContainer(windows);
  } catch (const std::exception& error) {
    windows.reset();
    Fail(kMessageRuntimeErrorInInstall, false, error.what());
    outcome.exitCode = kExitEscapedError;
  }
  windows.reset();
  if (!outcome.workFolderKept && !facts_.workFolder.empty()) host.DeleteFolderTree(facts_.workFolder);
  return outcome.exitCode;
}

TStartupSequence::TOutcome TStartupSequence::RunFromContainer(std::unique_ptr<TPreparationWindows>& windows) {
  TStartupHost& host = parts_.host;
  auto engine = host.ReadWholeFile(facts_.enginePath);
  if (!engine) throw std::runtime_error("Unable to read " + facts_.enginePath);
  // Parsed from memory: no temporary copy that a second setup could overwrite.
  auto appended = AppendedData(BytesOf(*engine));
  if (!appended || appended->empty()) {
    if (!facts_.commandLine.silent) host.ShowError(Caption(), kNoContainerText, true);
    return {kExitNoContainer, true};
  }
  const TScriptContainer container = TScriptContainer::Parse(*appended);
  engine.reset();

  auto workFolder = ClaimWorkFolder(facts_.temporaryFolder,
                                    [&](const std::string& folder) { return host.CreateFolder(folder); });
  if (!workFolder) throw std::runtime_error("Unable to create a work folder in " + facts_.temporaryFolder);
  facts_.workFolder = *workFolder;

  if (!host.FileExists(facts_.setupResource)) {
    Fail(kMessageNoSetupResource, true);
    return {kExitNoSetupResource, true};
  }
  if (!host.ExtractArchive(facts_.setupResource, facts_.workFolder)) {
    Fail(kMessageSetupResourceDamaged, true);
    return {kExitSetupResourceDamaged, true};
  }

  const std::string package = facts_.engineFolder + facts_.baseName + ".msi";
  const std::string patch = facts_.engineFolder + facts_.baseName + ".msp";
  const bool havePackage = host.FileExists(package), havePatch = host.FileExists(patch);
  if (!havePackage && !havePatch) {
    Fail(kMessageNoPackage, true);
    return {kExitNoPackage, true};
  }
  if (havePackage) host.CopyAsNormalFile(package, facts_.workFolder + facts_.baseName + ".msi");
  if (havePatch) host.CopyAsNormalFile(patch, facts_.workFolder + facts_.baseName + ".msp");
  facts_.dataFolder = facts_.engineFolder + "data\\";
  facts_.packagePath = facts_.workFolder + facts_.baseName + ".msi";

  PreloadDialogs(container, windows.get());
  windows.reset();

  return {parts_.runScript(container, facts_), false};
}

void TStartupSequence::PreloadDialogs(const TScriptContainer& container, TPreparationWindows* windows) {
  std::vector<std::size_t> shown;
  for (std::size_t i = 0; i < container.CommandCount(); ++i)
    if (container.Name(i) == "Display Dialog" && !container.Disabled(i)) shown.push_back(i);
  if (windows) windows->SetProgress(0, static_cast<int>(shown.size()), 1);

  parts_.dialogs.Prepare(facts_.workFolder);
  for (std::size_t index : shown) {
    parts_.dialogs.Load(std::to_string(index),
                        facts_.workFolder + container.Parameter(container.Guid(index), 1) + ".dfm");
    if (windows) windows->StepProgress();
  }
}

}  // namespace corvane
