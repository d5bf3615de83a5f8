#include "media/extraction_job.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace corvane {

int32_t ExtractionPercent(uint64_t done, uint64_t total) {
  if (total == 0 || done >= total) return 100;
  // done < total here, so done × 100 only overflows for totals beyond 184 PB.
  const uint64_t percent =
      done <= std::numeric_limits<uint64_t>::max() / 100 ? done * 100 / total : done / (total / 100);
  return static_cast<int32_t>(std::min<uint64_t>(percent + 1, 100));
}

std::string ExtractionProgressLine(std::string_view itemPath, int32_t percent, std::string_view completeText) {
  const size_t slash = itemPath.find_last_of("\\/");
  const std::string_view name = slash == std::string_view::npos ? itemPath : itemPath.substr(slash + 1);
  std::string line(name);
  line += ", ";
  line += std::to_string(percent);
  line += completeText;
  return line;
}

TExtractionJob::TExtractionJob(TExtractionRequest request, std::function<void()> wake, std::string completeText)
    : request_(std::move(request)), wake_(std::move(wake)), completeText_(std::move(completeText)) {}

bool TExtractionJob::ReportProgress(const std::string& itemPath, uint64_t done, uint64_t total) {
  bool goOn = true;
  {
    const int32_t percent = ExtractionPercent(done, total);
    std::string line = ExtractionProgressLine(itemPath, percent, completeText_);
    const std::lock_guard guard(lock_);
    progress_.percent = percent;
    progress_.line = std::move(line);
    goOn = !cancelRequest_;
  }
  if (wake_) wake_();
  return goOn;
}

void TExtractionJob::Finish(bool succeeded, std::string errorText) {
  succeeded_ = succeeded;
  errorText_ = std::move(errorText);
  done_.store(true);
  if (wake_) wake_();
}

TExtractionProgress TExtractionJob::Progress() const {
  const std::lock_guard guard(lock_);
  return progress_;
}

void TExtractionJob::SetCancelRequest(bool cancel) {
  const std::lock_guard guard(lock_);
  cancelRequest_ = cancel;
}

}  // namespace corvane
