#include "actions/program_runner.h"

#include <utility>

namespace corvane {

TRunApp::TRunApp(TProgramRunner& runner, TProgramStart start, std::function<void()> wakeApplication)
    : runner_(runner), start_(std::move(start)), wakeApplication_(std::move(wakeApplication)) {}

void TRunApp::Execute() noexcept {
  try {
    exitCode_ = runner_.Run(start_);
  } catch (...) {
    exitCode_.reset();
  }
  done_ = true;
  if (wakeApplication_) wakeApplication_();
}

}  // namespace corvane
