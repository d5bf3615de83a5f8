#include "script/name_index.h"

#include <cstdint>

#include "script/text_rules.h"

namespace corvane {

std::size_t TNameIndex::TFoldedHash::operator()(std::string_view name) const noexcept {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (char c : name) {
    hash = (hash ^ static_cast<unsigned char>(AsciiUpper(c))) * 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool TNameIndex::TFoldedEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  return EqualIgnoringCase(a, b);
}

void TNameIndex::Rebuild(std::span<const TVariable> variables) {
  positions_.clear();
  tokenSafe_ = true;
  for (std::size_t i = 0; i < variables.size(); ++i) {
    const std::string& name = variables[i].name;
    const bool isNew = positions_.try_emplace(name, i).second;
    tokenSafe_ = tokenSafe_ && isNew && !name.empty() && name.find('$') == std::string::npos;
  }
}

void TNameIndex::Add(std::string_view name, std::size_t position) {
  positions_.emplace(std::string(name), position);
  tokenSafe_ = tokenSafe_ && !name.empty() && name.find('$') == std::string_view::npos;
}

std::optional<std::size_t> TNameIndex::Find(std::string_view name) const {
  const auto found = positions_.find(name);
  if (found == positions_.end()) {
    return std::nullopt;
  }
  return found->second;
}

}  // namespace corvane
