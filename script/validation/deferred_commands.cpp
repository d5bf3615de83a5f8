#include "script/validation/deferred_commands.h"

#include <algorithm>
#include <array>

namespace corvane {
namespace {

constexpr std::array<std::string_view, 16> kDeferredCommands = {
    "Write Registry",  "Create File Type",      "Advertised File Type", "Create Folder",
    "Create Shortcut", "Advertised Shortcut",   "Copy/Move Local Files", "Delete Files",
    "Edit INI File",   "Set Environment",       "Install Files",        "Install Assembly",
    "Control Service", "Create ODBC DSN",       "Install ODBC Driver",  "Install Service",
};

}  // namespace

bool IsDeferredCommand(std::string_view name) {
  return std::find(kDeferredCommands.begin(), kDeferredCommands.end(), name) != kDeferredCommands.end();
}

}  // namespace corvane
