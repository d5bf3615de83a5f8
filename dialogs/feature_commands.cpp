#include "dialogs/feature_commands.h"

#include "dialogs/feature_selections.h"
#include "dialogs/feature_text.h"
#include "script/text_rules.h"

namespace corvane {

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

}  // namespace corvane
