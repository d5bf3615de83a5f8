// Making a script line's media available (downloaded, extracted or copied
// into the data folder) before the line that installs its files runs.
#pragma once

#include <stdexcept>
#include <string_view>

namespace corvane {

class TRunContext;

// Why the media could not be made available; the text is what the user is
// shown before the run ends.
class TMediaStepError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

class TMediaStep {
public:
  virtual ~TMediaStep() = default;
  // mediaFolder: the line's media folder ("OFFLINE\" or a block name and a
  // backslash). Returns when the media is present; throws TMediaStepError.
  virtual void Fetch(TRunContext& run, std::string_view mediaFolder) = 0;
};

}  // namespace corvane
