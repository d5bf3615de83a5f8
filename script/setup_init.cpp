#include "script/setup_init.h"

#include "launcher/script_container.h"
#include "script/core_commands.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::string_view kPhasePreInitialization = "Pre-Initialization";
constexpr std::string_view kPhaseInitialization = "Initialization";

// "C:\a\b.exe" -> "C:\a\" and "b.exe"; a bare name has no folder.
std::string FolderOf(std::string_view path) {
  const std::size_t slash = path.find_last_of('\\');
  return std::string(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1));
}
std::string FileNameOf(std::string_view path) { return std::string(path.substr(FolderOf(path).size())); }

std::string RegisteredValue(TSetupSystem& system, const std::string& value) {
  const std::string key =
      std::string("SOFTWARE\\Microsoft\\") + (system.IsNtFamily() ? "Windows NT" : "Windows") + "\\CurrentVersion\\";
  return system.ReadRegistryString(TRegistryRoot::LocalMachine, key, value).value_or("");
}

}  // namespace

void InjectOverrides(TVariableStore& store, const std::vector<std::pair<std::string, std::string>>& overrides) {
  for (const auto& [name, value] : overrides) {
    const std::string upperName = UpperCase(name);
    if (store.Exists(upperName)) {
      store.Set(upperName, value, kPhaseInjectOverride);
    } else {
      store.Define(upperName, value, kPhaseInjectOverride);
    }
  }
}

std::string PatchPathOf(std::string_view packagePath) {
  const std::size_t dot = packagePath.rfind('.');
  const std::size_t slash = packagePath.find_last_of('\\');
  const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  return std::string(hasExtension ? packagePath.substr(0, dot) : packagePath) + ".msp";
}

void TSetupInit::Prepare(TRunContext& run) {
  TVariableStore& store = run.Store();
  const std::string& title = run.Container().Sections().title;
  store.Clear();
  parts_.product.ClearComponents();

  // The instance logic reads these: maintenance keeps them, a first install
  // replaces them with its defaults.
  store.Define("TARGETDIR", "", kPhasePreInitialization);
  store.Define("STARTMENU", title, kPhasePreInitialization);
  const bool allUsers = parts_.system.IsNtFamily() && parts_.system.IsAdministrator();
  store.Define("ALLUSERS", BooleanText(allUsers), kPhasePreInitialization);

  parts_.product.DetectInstance(run);

  TDeferredRecords& deferred = run.Engine().deferred;
  deferred.shortcutTexts.clear();
  deferred.progIdTexts.clear();
}

bool TSetupInit::Complete(TRunContext& run) {
  TSetupSystem& system = parts_.system;
  const std::string patchPath = PatchPathOf(run.PackagePath());
  const bool havePatch = system.FileExists(patchPath);
  if (!havePatch && !system.FileExists(run.PackagePath())) {
    return false;
  }

  parts_.product.DefinePredefinedComponent();
  const std::string owner = RegisteredValue(system, "RegisteredOwner");
  const std::string company = RegisteredValue(system, "RegisteredOrganization");
  DefineInitializationVariables(run, owner, company);

  if (havePatch) {
    parts_.product.PreparePatch(run);
  }
  RemoveResumeEntry(run);
  run.Engine().deferred.RecordInitialActivations(run.Container());

  TVariableStore& store = run.Store();
  store.Define("LANGUAGE", "", kPhaseInitialization);
  if (parts_.language != nullptr) {
    const std::optional<std::string> language = parts_.language->ChooseLanguage(run);
    if (!language) {
      return false;
    }
    store.Define("LANGUAGE", *language, kPhaseInitialization);
  }

  InjectOverrides(store, run.Engine().options.overrides);
  return true;
}

void TSetupInit::DefineInitializationVariables(TRunContext& run, const std::string& owner,
                                               const std::string& company) {
  TVariableStore& store = run.Store();
  TSetupSystem& system = parts_.system;
  const TStartOptions& options = run.Engine().options;
  const std::string enginePath = run.Host().EnginePath();
  const std::string engineFolder = FolderOf(enginePath);
  const std::string selfExtractor = system.LowerCase(options.selfExtractorPath);
  const std::pair<std::string_view, std::string> variables[] = {
      {"NOBRAND", ""},
      {"SELECTED", "0"},
      {"WINDOWHANDLE", "0"},
      {"EXEFILE", enginePath},
      {"EXEDIR", engineFolder},
      {"PROGRESSTEXT", ""},
      {"PROGRESSMODE", ""},
      {"ABORT", "FALSE"},
      {"PROGRESS", "0"},
      {"LASTERROR", ""},
      {"LICENSE", "FALSE"},
      {"USERNAME", owner},
      {"USERCOMPANY", company},
      {"REBOOTCOMPUTER", "FALSE"},
      {"RUNAPP", "TRUE"},
      {"WIZARD", "NEXT"},
      {"VERSION", system.EngineVersion()},
      {"SILENT", BooleanText(options.silent)},
      {"LOGGED", options.logPath},
      {"CMDLINE", options.argumentsText},
      {"SFXPATH", FolderOf(selfExtractor)},
      {"SFXFILE", FileNameOf(selfExtractor)},
      {"COMPLETE", "TRUE"},
      {"MINIMUM", "FALSE"},
      {"PERSONALIZED", "FALSE"},
      {"MODIFY", "TRUE"},
      {"REPAIR", "FALSE"},
      {"REMOVE", "FALSE"},
      {"ROOTDIR", engineFolder},
      {"TITLE", parts_.product.ProductName()},
      {"COMPANY", run.Container().Sections().support.publisher},
      {"ADVERTISE", "FALSE"},
      {"DATE", run.Host().CurrentDate()},
      {"TIME", run.Host().CurrentTime()},
      {"TEMPDIR", system.TemporaryFolder()},
      {"SUPPORTDIR", FolderOf(run.PackagePath())},
      {"MSIFILE", run.PackagePath()},
  };
  for (const auto& [name, value] : variables) {
    store.Define(name, value, kPhaseInitialization);
  }
}

void TSetupInit::RemoveResumeEntry(TRunContext& run) {
  const std::string name = ResumeValueName(run.Store().Find("PRODUCTCODE").value_or(""));
  if (name.empty()) {
    return;
  }
  parts_.system.DeleteRunValue(TRegistryRoot::CurrentUser, name);
  parts_.system.DeleteRunValue(TRegistryRoot::LocalMachine, name);
}

}  // namespace corvane
