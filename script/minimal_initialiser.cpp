#include "script/minimal_initialiser.h"

#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {

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

void TMinimalRunInitialiser::Prepare(TRunContext& run) {
  TVariableStore& store = run.Store();
  const TContainerSections& sections = run.Container().Sections();
  store.Clear();
  store.Define("ALLUSERS", "FALSE", "Pre-Initialization");
  store.Define("PRODUCTCODE", sections.productCode, "Bootstrap");
  store.Define("TITLE", sections.title, "Initialization");
}

bool TMinimalRunInitialiser::Complete(TRunContext& run) {
  TVariableStore& store = run.Store();
  const TStartOptions& options = run.Engine().options;
  constexpr std::string_view kPhase = "Initialization";
  store.Define("NOBRAND", "", kPhase);
  store.Define("WINDOWHANDLE", "0", kPhase);
  store.Define("PROGRESSTEXT", "", kPhase);
  store.Define("ABORT", "FALSE", kPhase);
  store.Define("PROGRESS", "0", kPhase);
  store.Define("SILENT", BooleanText(options.silent), kPhase);
  store.Define("LOGGED", options.logPath, kPhase);
  store.Define("CMDLINE", options.argumentsText, kPhase);
  store.Define("LANGUAGE", "", kPhase);
  InjectOverrides(store, options.overrides);
  return true;
}

}  // namespace corvane
