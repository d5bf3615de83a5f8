#include "script/worker.h"

#include "script/run_context.h"

namespace corvane {

void WaitUntilWorkerDone(TRunContext& run, const TWorkerThread& worker, const std::function<bool()>& done,
                         const std::function<void()>& beforeStep, const std::function<void()>& afterStep) {
  while (!done()) {
    if (beforeStep) beforeStep();
    run.WaitStep(worker.Handle());
    if (afterStep) afterStep();
  }
}

}  // namespace corvane
