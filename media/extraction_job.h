// An extraction job: what the interpreter thread and the worker thread that
// extracts share, and the progress the worker's callback publishes.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

namespace corvane {

// (done × 100) div total + 1, in 64 bits: a started extraction never shows
// 0 %. Capped at 100, which the bare formula would pass when done = total;
// a total of 0 counts as finished.
int32_t ExtractionPercent(uint64_t done, uint64_t total);

// "<file name>, <percent><complete text>", e.g. "setup.dfm, 42% complete".
std::string ExtractionProgressLine(std::string_view itemPath, int32_t percent, std::string_view completeText);

struct TExtractionRequest {
  std::string archivePath;
  std::string destination;
  std::string password;
  bool overwriteAnswer = false;
  bool folderFlag = false;
};

struct TExtractionProgress {
  int32_t percent = 0;
  std::string line;
};

class TExtractionJob {
public:
  // wake reaches the window whose message wait the interpreter sits in
  // (nothing to do when there is none); completeText is the translated
  // "% complete", taken when the job is made.
  TExtractionJob(TExtractionRequest request, std::function<void()> wake, std::string completeText);

  const TExtractionRequest& Request() const { return request_; }

  // The worker's progress callback: publishes percent and line, wakes the
  // interpreter, and answers false once a cancel was requested.
  bool ReportProgress(const std::string& itemPath, uint64_t done, uint64_t total);
  // The worker's end: the result is readable once Done() is true.
  void Finish(bool succeeded, std::string errorText);

  // For the interpreter's wait loop.
  TExtractionProgress Progress() const;
  void SetCancelRequest(bool cancel);
  bool Done() const { return done_.load(); }
  bool Succeeded() const { return succeeded_; }
  const std::string& ErrorText() const { return errorText_; }

private:
  const TExtractionRequest request_;
  const std::function<void()> wake_;
  const std::string completeText_;

  mutable std::mutex lock_;  // guards progress_ and cancelRequest_
  TExtractionProgress progress_;
  bool cancelRequest_ = false;

  // Written by the worker before done_ is set, read after.
  bool succeeded_ = false;
  std::string errorText_;
  std::atomic<bool> done_ = false;
};

}  // namespace corvane
