#include "launcher/file_version.h"

namespace corvane {

std::string TFileVersion::Text() const {
  return std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(release) + "." +
         std::to_string(build);
}

bool CommonControlsTooOld(const std::optional<TFileVersion>& version) {
  return version && version->major == 4 && version->minor < 72;
}

}  // namespace corvane
