// Four-part file versions as version resources hold them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

struct TFileVersion {
  std::uint16_t major = 0, minor = 0, release = 0, build = 0;

  // "major.minor.release.build", the form VERSION holds.
  std::string Text() const;
};

// Common controls 4.71 and older cannot draw the wizard; a library without a
// version resource is taken to be new enough.
bool CommonControlsTooOld(const std::optional<TFileVersion>& version);

}  // namespace corvane
