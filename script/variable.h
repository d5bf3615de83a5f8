// One entry of the variable store.
#pragma once

#include <string>

namespace corvane {

struct TVariable {
  std::string name;
  std::string value;

  bool operator==(const TVariable&) const = default;
};

}  // namespace corvane
