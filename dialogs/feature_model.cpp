#include "dialogs/feature_model.h"

#include <algorithm>
#include <limits>

#include "dialogs/feature_text.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

std::string StateText(bool selected) { return selected ? "TRUE" : "FALSE"; }

std::int64_t SaturatingAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (!__builtin_add_overflow(a, b, &sum)) return sum;
  return b < 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
}

std::int64_t SaturatingSubtract(std::int64_t a, std::int64_t b) {
  std::int64_t difference = 0;
  if (!__builtin_sub_overflow(a, b, &difference)) return difference;
  return b > 0 ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
}

template <typename T>
auto FindByName(T& entries, std::string_view name) -> decltype(entries.data()) {
  auto found = std::ranges::find_if(entries, [name](const auto& entry) { return EqualIgnoringCase(entry.name, name); });
  return found == entries.end() ? nullptr : &*found;
}

}  // namespace

TFeatureModel::TFeatureModel(std::span<const std::string> sizeList) {
  for (std::size_t i = 0; i < sizeList.size(); i += 2) {
    std::int64_t size = i + 1 < sizeList.size() ? ParseSize(sizeList[i + 1]).value_or(0) : 0;
    sizes_.push_back({sizeList[i], size});
  }
}

void TFeatureModel::Define(std::string_view name, std::string_view description, bool selected) {
  if (!FindSize(name)) sizes_.push_back({std::string(name), 0});
  if (TComponent* component = Find(name)) {
    component->description = description;
    if (component->state.empty()) component->state = StateText(selected);
    return;
  }
  components_.push_back({std::string(name), StateText(selected), std::string(description)});
}

bool TFeatureModel::SetSelected(std::string_view name, bool selected) {
  TComponent* component = Find(name);
  if (!component) return false;
  component->state = StateText(selected);
  return true;
}

bool TFeatureModel::SetSize(std::string_view name, std::int64_t size) {
  if (!Find(name)) return false;
  if (TSizeEntry* entry = FindSize(name)) {
    entry->size = size;
  } else {
    sizes_.push_back({std::string(name), size});
  }
  return true;
}

bool TFeatureModel::IsSelected(std::string_view name) const {
  const TComponent* component = Find(name);
  return component && IsTrue(component->state);
}

std::int64_t TFeatureModel::Size(std::string_view name) const {
  const TSizeEntry* entry = Find(name) ? FindSize(name) : nullptr;
  return entry ? entry->size : 0;
}

std::string TFeatureModel::Description(std::string_view name) const {
  const TComponent* component = Find(name);
  return component ? component->description : std::string();
}

void TFeatureModel::Clear() { components_.clear(); }

void TFeatureModel::ResetForFirstInstall() {
  Clear();
  Define(kPredefinedComponent, "", true);
  installedSize_ = 0;
}

void TFeatureModel::Append(std::span<const std::string> names, std::span<const std::string> states) {
  for (std::size_t i = 0; i < names.size(); ++i) {
    components_.push_back({names[i], i < states.size() ? states[i] : std::string(), std::string()});
  }
}

void TFeatureModel::MergeStates(std::span<const std::string> names, std::span<const std::string> states) {
  for (std::size_t i = 0; i < names.size() && i < states.size(); ++i) {
    for (TComponent& component : components_) {
      if (EqualIgnoringCase(component.name, names[i])) component.state = states[i];
    }
  }
}

std::int64_t TFeatureModel::SelectedSize() const {
  std::int64_t total = 0;
  for (const TComponent& component : components_) {
    if (IsTrue(component.state)) total = SaturatingAdd(total, Size(component.name));
  }
  return total;
}

std::int64_t TFeatureModel::SpaceRequired() const { return SaturatingSubtract(SelectedSize(), installedSize_); }

TComponent* TFeatureModel::Find(std::string_view name) { return FindByName(components_, name); }
const TComponent* TFeatureModel::Find(std::string_view name) const { return FindByName(components_, name); }
TFeatureModel::TSizeEntry* TFeatureModel::FindSize(std::string_view name) { return FindByName(sizes_, name); }
const TFeatureModel::TSizeEntry* TFeatureModel::FindSize(std::string_view name) const {
  return FindByName(sizes_, name);
}

}  // namespace corvane
