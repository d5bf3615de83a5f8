#pragma once

#include <string>

namespace corvane {

// Deletes everything below folder, clearing attributes first, and then the
// folder itself. Three passes, because files of programs that are just
// exiting may still be held for a moment; what still remains is left.
void DeleteFolderTree(const std::string& folder);

}  // namespace corvane
