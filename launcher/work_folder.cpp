#include "launcher/work_folder.h"

namespace corvane {

std::optional<std::string> ClaimWorkFolder(const std::string& temporaryFolder,
                                           const std::function<TFolderCreation(const std::string&)>& create) {
  // Far more numbers than any temporary folder holds; the bound only stops a
  // file system that answers "exists" to everything.
  constexpr unsigned kLastNumber = 100000;
  for (unsigned n = 1; n <= kLastNumber; ++n) {
    std::string folder = temporaryFolder + "kel" + std::to_string(n) + "\\";
    switch (create(folder)) {
      case TFolderCreation::Created:
        return folder;
      case TFolderCreation::AlreadyExists:
        continue;
      case TFolderCreation::Failed:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace corvane
