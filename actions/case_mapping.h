// Letter case as the system maps it for ANSI text (beyond ASCII, it depends
// on the code page). Mapping never changes a text's length, so positions
// found in a mapped copy hold in the original.
#pragma once

#include <string>
#include <string_view>

namespace corvane {

class TCaseMapping {
public:
  virtual ~TCaseMapping() = default;
  virtual std::string Upper(std::string_view text) const = 0;
  virtual std::string Lower(std::string_view text) const = 0;
};

}  // namespace corvane
