// The feature selections file: component names, a "$" line, their states, a
// "$" line, then TARGETDIR, ALLUSERS and STARTMENU; the copy kept with an
// installed instance adds the data folder's short path. CR LF text.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/feature_model.h"
#include "dialogs/feature_variables.h"

namespace corvane {

// The variables the file carries, in file order.
inline constexpr std::array<std::string_view, 3> kSelectionVariables = {"TARGETDIR", "ALLUSERS", "STARTMENU"};
inline constexpr std::string_view kLoadSelectionsPhase = "LoadComponents";

struct TSavedSelections {
  std::vector<std::string> names;
  std::vector<std::string> states;
  // Absent without the second "$" line; lines the file lacks read as empty.
  std::optional<std::array<std::string, 3>> variables;
};

// Lines end with CR LF or LF. The data folder line is not read back: nothing uses it.
TSavedSelections ParseSelections(std::string_view text);
std::string FormatSelections(const TFeatureModel& model, const std::array<std::string, 3>& variables,
                             const std::optional<std::string>& dataFolder);

// Creates or overwrites the file; false when it cannot be written.
bool SaveSelections(const TFeatureModel& model, const std::string& path, const TFeatureVariables& variables,
                    const std::optional<std::string>& dataFolder = std::nullopt);

enum class TSelectionsLoad {
  Merge,   // states laid over the components the script defined
  Append,  // an installed instance's components, into a cleared model
};
// Saved selections into the model, and the variables when the file has them.
void ApplySelections(TFeatureModel& model, const TSavedSelections& saved, TFeatureVariables& variables,
                     TSelectionsLoad mode);
// A file that cannot be opened changes nothing.
void LoadSelections(TFeatureModel& model, const std::string& path, TFeatureVariables& variables,
                    TSelectionsLoad mode);

}  // namespace corvane
