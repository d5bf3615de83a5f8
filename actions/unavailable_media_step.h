// The media step of a setup that has no way yet to fetch installation data
// on demand: every fetch fails with the text a failed fetch shows, so the
// setup stops before the installer runs without the files.
#pragma once

#include "media/media_step.h"

namespace corvane {

inline constexpr std::string_view kOfflineMediaFolder = "OFFLINE\\";
inline constexpr std::string_view kWebMediaUnavailable = "Unable to download installation data from the web";
inline constexpr std::string_view kOfflineMediaUnavailable = "Unable to copy installation data to local folders";

class TUnavailableMediaStep : public TMediaStep {
public:
  // A removal needs no media: that alone succeeds.
  void Fetch(TRunContext& run, std::string_view mediaFolder) override;
};

}  // namespace corvane
