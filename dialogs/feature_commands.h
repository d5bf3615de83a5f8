// The script's feature commands over the model. Each takes its parameter
// lines as the interpreter hands them over: substituted, and translated
// where the line is translatable.
#pragma once

#include <string>
#include <string_view>

#include "dialogs/feature_model.h"
#include "dialogs/feature_variables.h"

namespace corvane {

class TCommandTable;

// "Define Component": name, selected (boolean text), description.
void DefineComponentCommand(TFeatureModel& model, std::string_view name, std::string_view selected,
                            std::string_view description);
// "Set Component State": name, selected. An unknown name changes nothing.
void SetComponentStateCommand(TFeatureModel& model, std::string_view name, std::string_view selected);
// "Get Component State": name, result variable ("TRUE"/"FALSE"; nothing
// stored when the variable name is empty).
void GetComponentStateCommand(const TFeatureModel& model, std::string_view name, std::string_view resultVariable,
                              TFeatureVariables& variables);
// "Set Component Space": name, size in bytes. A size that is no 64-bit
// integer, or an unknown name, changes nothing.
void SetComponentSpaceCommand(TFeatureModel& model, std::string_view name, std::string_view size);
// "Save Feature Selections": file path.
void SaveFeatureSelectionsCommand(const TFeatureModel& model, const std::string& path,
                                  const TFeatureVariables& variables);
// "Load Feature Selections": file path; a missing file changes nothing.
void LoadFeatureSelectionsCommand(TFeatureModel& model, const std::string& path, TFeatureVariables& variables);

// The six commands above in the command table, over the run's model. Names
// are translatable (slot 1), and so is a definition's description (slot 2).
void RegisterFeatureCommands(TCommandTable& table, TFeatureModel& model);

}  // namespace corvane
