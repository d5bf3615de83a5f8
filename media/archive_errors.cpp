#include "media/archive_errors.h"

namespace corvane {

std::string ListFailureText(uint32_t code) {
  switch (code) {
    case 1001:
      return "The archive file was not found";
    case 1002:
      return "Illegal path used in a wildcard expression";
    case 1003:
      return "The archive cannot be opened: unsupported archive or incorrect password";
    default:
      return "General failure opening archive";
  }
}

std::string ExtractFailureText(uint32_t code) { return "#" + std::to_string(code); }

}  // namespace corvane
