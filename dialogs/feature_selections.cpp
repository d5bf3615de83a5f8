#include "dialogs/feature_selections.h"

#include <fstream>
#include <iterator>

namespace corvane {
namespace {

constexpr std::string_view kSeparator = "$";
constexpr std::string_view kLineEnd = "\r\n";

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.emplace_back(line);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += kLineEnd;
}

}  // namespace

TSavedSelections ParseSelections(std::string_view text) {
  const std::vector<std::string> lines = SplitLines(text);
  TSavedSelections saved;
  auto line = lines.begin();
  for (; line != lines.end() && *line != kSeparator; ++line) saved.names.push_back(*line);
  if (line != lines.end()) ++line;
  for (; line != lines.end() && *line != kSeparator; ++line) saved.states.push_back(*line);
  if (line == lines.end()) return saved;
  ++line;
  std::array<std::string, 3>& variables = saved.variables.emplace();
  for (std::string& value : variables) {
    if (line == lines.end()) break;
    value = *line++;
  }
  return saved;
}

std::string FormatSelections(const TFeatureModel& model, const std::array<std::string, 3>& variables,
                             const std::optional<std::string>& dataFolder) {
  std::string text;
  for (const TComponent& component : model.Components()) AppendLine(text, component.name);
  AppendLine(text, kSeparator);
  for (const TComponent& component : model.Components()) AppendLine(text, component.state);
  AppendLine(text, kSeparator);
  for (const std::string& value : variables) AppendLine(text, value);
  if (dataFolder) AppendLine(text, *dataFolder);
  return text;
}

bool SaveSelections(const TFeatureModel& model, const std::string& path, const TFeatureVariables& variables,
                    const std::optional<std::string>& dataFolder) {
  std::array<std::string, 3> values;
  for (std::size_t i = 0; i < values.size(); ++i) values[i] = variables.Value(kSelectionVariables[i]);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << FormatSelections(model, values, dataFolder);
  file.close();
  return !file.fail();
}

void LoadSelections(TFeatureModel& model, const std::string& path, TFeatureVariables& variables,
                    TSelectionsLoad mode) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return;
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  ApplySelections(model, ParseSelections(text), variables, mode);
}

void ApplySelections(TFeatureModel& model, const TSavedSelections& saved, TFeatureVariables& variables,
                     TSelectionsLoad mode) {
  if (saved.variables) {
    for (std::size_t i = 0; i < saved.variables->size(); ++i) {
      variables.Define(kSelectionVariables[i], (*saved.variables)[i], kLoadSelectionsPhase);
    }
  }
  if (mode == TSelectionsLoad::Merge) {
    model.MergeStates(saved.names, saved.states);
  } else {
    model.Append(saved.names, saved.states);
  }
}

}  // namespace corvane
