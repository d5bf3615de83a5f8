#include "tests/support/fixture_paths.h"

#include <algorithm>

namespace corvane::test {

std::string WinePathOf(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string FixturePath(const std::string& fileName) {
  return WinePathOf(std::string(CORVANE_FIXTURE_DIR) + "/" + fileName);
}

}  // namespace corvane::test
