// A variable store for the feature commands' tests: ordered, names without
// regard to case, and a record of the phase each definition came with.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialogs/feature_text.h"
#include "script/text_rules.h"
#include "dialogs/feature_variables.h"

namespace corvane::test {

class TFakeVariables : public TFeatureVariables {
public:
  struct TEntry {
    std::string name, value, phase;
  };

  TFakeVariables() = default;
  TFakeVariables(std::initializer_list<std::pair<std::string, std::string>> values) {
    for (const auto& [name, value] : values) entries_.push_back({name, value, "test"});
  }

  std::string Value(std::string_view name) const override {
    const TEntry* entry = Find(name);
    return entry ? entry->value : std::string();
  }
  void Define(std::string_view name, std::string_view value, std::string_view phase) override {
    Set(name, value, phase);
  }
  void StoreResult(std::string_view name, std::string_view value) override { Set(name, value, "result"); }

  const TEntry* Find(std::string_view name) const {
    auto found = std::ranges::find_if(entries_, [name](const TEntry& e) { return EqualIgnoringCase(e.name, name); });
    return found == entries_.end() ? nullptr : &*found;
  }
  std::size_t Count() const { return entries_.size(); }

private:
  void Set(std::string_view name, std::string_view value, std::string_view phase) {
    auto found = std::ranges::find_if(entries_, [name](const TEntry& e) { return EqualIgnoringCase(e.name, name); });
    if (found == entries_.end()) {
      entries_.push_back({std::string(name), std::string(value), std::string(phase)});
    } else {
      found->value = value;
      found->phase = phase;
    }
  }

  std::vector<TEntry> entries_;
};

}  // namespace corvane::test
