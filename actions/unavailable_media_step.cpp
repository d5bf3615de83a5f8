#include "actions/unavailable_media_step.h"

#include <string>

#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {

void TUnavailableMediaStep::Fetch(TRunContext& run, std::string_view mediaFolder) {
  if (IsTrue(run.Store().Find("REMOVE").value_or(""))) {
    return;
  }
  const bool offline = EqualIgnoringCase(mediaFolder, kOfflineMediaFolder);
  throw TMediaStepError(std::string(offline ? kOfflineMediaUnavailable : kWebMediaUnavailable));
}

}  // namespace corvane
