#include "script/variable_store.h"

#include <algorithm>
#include <utility>

#include "script/comma_text.h"
#include "script/script_error.h"
#include "script/substitution.h"
#include "script/text_rules.h"

namespace corvane {

TVariableStore::TVariableStore(const TMessageTable& messages, TEngineFlags& flags,
                               std::vector<std::string> overrideNames)
    : messages_(messages), flags_(flags), overrideNames_(std::move(overrideNames)) {}

bool TVariableStore::Exists(std::string_view name) const {
  const std::lock_guard lock(mutex_);
  return index_.Find(name).has_value();
}

std::string TVariableStore::Get(std::string_view name) const {
  std::optional<std::string> value = Find(name);
  if (!value) {
    throw TScriptError(messages_.Text(kMessageGetUndefinedVariable) + std::string(name));
  }
  return std::move(*value);
}

std::optional<std::string> TVariableStore::Find(std::string_view name) const {
  const std::lock_guard lock(mutex_);
  const std::optional<std::size_t> position = index_.Find(name);
  if (!position) {
    return std::nullopt;
  }
  return variables_[*position].value;
}

void TVariableStore::Define(std::string_view name, std::string_view value, std::string_view phase) {
  if (name.empty()) {
    return;
  }
  const std::lock_guard lock(mutex_);
  if (!index_.Find(name)) {
    index_.Add(name, variables_.size());
    variables_.push_back({std::string(name), std::string()});
  }
  SetLocked(name, value, phase);
}

void TVariableStore::Set(std::string_view name, std::string_view value, std::string_view phase) {
  std::unique_lock lock(mutex_);
  if (!SetLocked(name, value, phase)) {
    lock.unlock();
    throw TScriptError(messages_.Text(kMessageSetUndefinedVariable) + std::string(name));
  }
}

bool TVariableStore::IsProtected(std::string_view name, std::string_view phase) const {
  return phase != kPhaseInjectOverride && flags_.silent.load() &&
         std::ranges::any_of(overrideNames_, [&](const std::string& overridden) { return EqualIgnoringCase(overridden, name); });
}

bool TVariableStore::SetLocked(std::string_view name, std::string_view value, std::string_view phase) {
  if (IsProtected(name, phase)) {
    return true;
  }
  const std::optional<std::size_t> position = index_.Find(name);
  if (!position) {
    return false;
  }
  variables_[*position].value = value;
  if (EqualIgnoringCase(name, "ABORT")) {
    flags_.cancel = IsTrue(value);
  }
  return true;
}

std::string TVariableStore::Substitute(std::string_view text) const {
  const std::lock_guard lock(mutex_);
  return corvane::Substitute(text, variables_, index_);
}

std::string TVariableStore::SubstituteNormalised(std::string_view text) const {
  return CollapseDoubledBackslashes(Substitute(text));
}

std::optional<std::string> TVariableStore::ResolveLocked(std::string_view text) const {
  const std::optional<std::size_t> position = index_.Find(NamedVariable(text));
  if (!position) {
    return std::nullopt;
  }
  return corvane::Substitute(variables_[*position].value, variables_, index_);
}

std::string TVariableStore::ResolveReference(std::string_view text) const {
  const std::lock_guard lock(mutex_);
  return ResolveLocked(text).value_or(std::string(kUnresolvedReference));
}

std::string TVariableStore::ResolveReferenceOrEmpty(std::string_view text) const {
  const std::lock_guard lock(mutex_);
  return ResolveLocked(text).value_or(std::string());
}

std::string TVariableStore::Export() const {
  const std::lock_guard lock(mutex_);
  return ExportCommaText(variables_);
}

void TVariableStore::Import(std::string_view commaText) {
  std::vector<TVariable> variables = VariablesFromCommaText(commaText);
  TNameIndex index;
  index.Rebuild(variables);
  const std::lock_guard lock(mutex_);
  variables_ = std::move(variables);
  index_ = std::move(index);
}

std::vector<TVariable> TVariableStore::Variables() const {
  const std::lock_guard lock(mutex_);
  return variables_;
}

void TVariableStore::Clear() {
  const std::lock_guard lock(mutex_);
  variables_.clear();
  index_.Rebuild(variables_);
}

}  // namespace corvane
