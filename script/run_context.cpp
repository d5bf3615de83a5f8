#include "script/run_context.h"

#include <utility>

#include "script/run_services.h"
#include "script/text_rules.h"

namespace corvane {

TRunContext::TRunContext(TEngineContext& engine, TScriptHost& host, const TScriptContainer& container,
                         std::string packagePath, const TTranslator* translator)
    : engine_(engine),
      host_(host),
      container_(container),
      packagePath_(std::move(packagePath)),
      translator_(translator) {}

std::string TRunContext::Line(std::size_t n) const { return container_.Parameter(container_.Guid(CommandIndex()), n); }

std::string TRunContext::SubstitutedLine(std::size_t n) const { return engine_.store.Substitute(Line(n)); }

std::string TRunContext::NormalisedLine(std::size_t n) const { return engine_.store.SubstituteNormalised(Line(n)); }

std::optional<std::string> TRunContext::Translation(std::string_view text, int slot) const {
  if (translator_ == nullptr) {
    return std::nullopt;
  }
  return translator_->TranslateCommandText(text, container_.Guid(CommandIndex()), slot);
}

void TRunContext::StoreResult(std::string_view name, std::string_view value) {
  const std::string phase = CommandName() + " Action";
  if (!engine_.store.Exists(name)) {
    engine_.store.Define(UpperCase(name), "", phase);
  }
  engine_.store.Set(name, value, phase);
}

std::string TRunContext::Caption() const { return WizardCaption(engine_.messages, state_.title, state_.brandOff); }

void TRunContext::WaitStep(TWorkerHandle worker) {
  if (!Silent()) {
    host_.HandleOneMessage();
  } else if (worker != nullptr) {
    host_.WaitForWorker(worker);
  }
}

}  // namespace corvane
