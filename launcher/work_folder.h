// The private work folder "kelN\" below the temporary folder.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace corvane {

enum class TFolderCreation { Created, AlreadyExists, Failed };

// Claims the first free "kelN\" by creating it: creation either succeeds or
// reports that the name is taken, so two setups starting together never share
// a folder. Empty when a folder cannot be created for another reason.
std::optional<std::string> ClaimWorkFolder(const std::string& temporaryFolder,
                                           const std::function<TFolderCreation(const std::string&)>& create);

}  // namespace corvane
