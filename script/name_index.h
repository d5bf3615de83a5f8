// Where each variable name first stands in the store, found without regard
// to letter case in constant time.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "script/variable.h"

namespace corvane {

class TNameIndex {
public:
  void Rebuild(std::span<const TVariable> variables);
  // For a variable appended at position; its name must be new to the index.
  void Add(std::string_view name, std::size_t position);
  std::optional<std::size_t> Find(std::string_view name) const;

  // Whether a token "$NAME$" can only be the text between a "$" and the
  // next one: every name is non-empty, free of "$", and stands once.
  bool NamesAreTokenSafe() const { return tokenSafe_; }

private:
  struct TFoldedHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept;
  };
  struct TFoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
  };

  std::unordered_map<std::string, std::size_t, TFoldedHash, TFoldedEqual> positions_;
  bool tokenSafe_ = true;
};

}  // namespace corvane
