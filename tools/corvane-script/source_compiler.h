// Compiles script source (README.md describes the format) into the sections
// of a script container.
#pragma once

#include "launcher/script_container.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane::authoring {

// A fault in the source; what() reads "FILE:LINE: message".
class TSourceError : public std::runtime_error {
public:
  TSourceError(const std::string& fileName, std::size_t line, const std::string& message);
  std::size_t Line() const { return line_; }

private:
  std::size_t line_;
};

// fileName names the source in messages; its last path component also seeds
// the GUIDs made for commands, the product code and the revision code.
TContainerSections CompileSource(std::string_view text, std::string_view fileName);

}  // namespace corvane::authoring
