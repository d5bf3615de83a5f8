#include "dialogs/feature_commands.h"

#include "dialogs/feature_selections.h"
#include "dialogs/feature_text.h"
#include "dialogs/run_feature_variables.h"
#include "script/command_table.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

// Substituted, then, with an active language, translated and substituted again.
std::string TranslatableLine(TRunContext& run, std::size_t line, int slot) {
  std::string text = run.SubstitutedLine(line);
  if (const std::optional<std::string> translated = run.Translation(text, slot)) {
    text = run.Store().Substitute(*translated);
  }
  return text;
}

}  // namespace

void DefineComponentCommand(TFeatureModel& model, std::string_view name, std::string_view selected,
                            std::string_view description) {
  model.Define(name, description, IsTrue(selected));
}

void SetComponentStateCommand(TFeatureModel& model, std::string_view name, std::string_view selected) {
  model.SetSelected(name, IsTrue(selected));
}

void GetComponentStateCommand(const TFeatureModel& model, std::string_view name, std::string_view resultVariable,
                              TFeatureVariables& variables) {
  if (resultVariable.empty()) return;
  variables.StoreResult(resultVariable, model.IsSelected(name) ? "TRUE" : "FALSE");
}

void SetComponentSpaceCommand(TFeatureModel& model, std::string_view name, std::string_view size) {
  if (auto bytes = ParseSize(size)) model.SetSize(name, *bytes);
}

void SaveFeatureSelectionsCommand(const TFeatureModel& model, const std::string& path,
                                  const TFeatureVariables& variables) {
  // A file that cannot be written is no script error: the run goes on.
  SaveSelections(model, path, variables);
}

void LoadFeatureSelectionsCommand(TFeatureModel& model, const std::string& path, TFeatureVariables& variables) {
  LoadSelections(model, path, variables, TSelectionsLoad::Merge);
}

void RegisterFeatureCommands(TCommandTable& table, TFeatureModel& model) {
  table.Register("Define Component", [&model](TRunContext& run) {
    const std::string name = TranslatableLine(run, 1, 1);
    DefineComponentCommand(model, name, run.SubstitutedLine(2), TranslatableLine(run, 3, 2));
  });
  table.Register("Set Component State", [&model](TRunContext& run) {
    SetComponentStateCommand(model, TranslatableLine(run, 1, 1), run.SubstitutedLine(2));
  });
  table.Register("Get Component State", [&model](TRunContext& run) {
    TRunFeatureVariables variables(run);
    GetComponentStateCommand(model, TranslatableLine(run, 1, 1), NamedVariable(run.Line(2)), variables);
  });
  table.Register("Set Component Space", [&model](TRunContext& run) {
    SetComponentSpaceCommand(model, TranslatableLine(run, 1, 1), run.SubstitutedLine(2));
  });
  table.Register("Save Feature Selections", [&model](TRunContext& run) {
    const TRunFeatureVariables variables(run);
    SaveFeatureSelectionsCommand(model, run.SubstitutedLine(1), variables);
  });
  table.Register("Load Feature Selections", [&model](TRunContext& run) {
    TRunFeatureVariables variables(run);
    LoadFeatureSelectionsCommand(model, run.SubstitutedLine(1), variables);
  });
}

}  // namespace corvane
