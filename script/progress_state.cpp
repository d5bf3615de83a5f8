#include "script/progress_state.h"

namespace corvane {

void TProgressState::Set(std::string_view text, std::int64_t minimum, std::int64_t maximum, std::int64_t position) {
  if (text == kKeepProgress) {
    return;
  }
  const std::lock_guard lock(mutex_);
  if (position != -1) {
    values_.minimum = minimum;
    values_.maximum = maximum;
    values_.position = position;
  }
  values_.text = text;
}

TProgressValues TProgressState::Snapshot() const {
  const std::lock_guard lock(mutex_);
  return values_;
}

}  // namespace corvane
