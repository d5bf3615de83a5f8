#include "media/archive_commands.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "actions/result_forms.h"
#include "media/extraction_job.h"
#include "media/extraction_workers.h"
#include "media/light_mode_setup.h"
#include "script/command_table.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::string_view kSuccess = "SUCCESS";
constexpr std::string_view kLightModeFailed = "-1";

// Should the run end while the worker extracts (a script error in the wait
// loop), the worker is asked to stop before it is waited for.
class TStopOnExit {
public:
  explicit TStopOnExit(TExtractionJob& job) : job_(job) {}
  ~TStopOnExit() { job_.SetCancelRequest(true); }
  TStopOnExit(const TStopOnExit&) = delete;
  TStopOnExit& operator=(const TStopOnExit&) = delete;

private:
  TExtractionJob& job_;
};

void RunExtraction(TRunContext& run, TArchiveCommandServices& services, TExtractionJob& job) {
  const TBusyScope busy(run.Engine().flags);
  TDirectExtractMedia worker(job, services.library, services.files, [&services] { services.workers.Wake(0); });
  std::unique_ptr<TWorkerThread> thread;
  try {
    thread = services.workers.Start([&worker] { worker.Execute(); });
  } catch (const std::exception& error) {
    job.Finish(false, error.what());
    return;
  }
  const TStopOnExit stop(job);
  WaitUntilWorkerDone(
      run, *thread, [&job] { return job.Done(); },
      [&run, &job] {
        const TExtractionProgress progress = job.Progress();
        run.Engine().progress.Set(run.Store().Get("PROGRESSTEXT") + "\r" + progress.line, 0, 100, progress.percent);
      },
      [&run, &job] { job.SetCancelRequest(run.Engine().flags.cancel); });
}

void ExtractArchiveCommand(TRunContext& run, TArchiveCommandServices& services) {
  TExtractionRequest request{run.NormalisedLine(1), run.NormalisedLine(2), run.SubstitutedLine(4),
                             IsTrue(run.Line(5)), IsTrue(run.Line(6))};
  // Without a progress window the application window is woken, so that the
  // wait loop passes a cancel on even when no dialog is shown.
  const TWindowHandle wakeWindow = run.State().progressWindow;
  TExtractionJob job(
      std::move(request), [&services, wakeWindow] { services.workers.Wake(wakeWindow); },
      run.Engine().messages.Text(kMessagePercentComplete));
  RunExtraction(run, services, job);
  StorePlainResult(run, 3, job.Succeeded() ? kSuccess : std::string_view(job.ErrorText()));
}

// The nested setup runs as "Run Program" runs a program.
std::optional<uint32_t> RunLightModeProgram(TRunContext& run, TArchiveCommandServices& services,
                                            const TProgramStart& start) {
  const TBusyScope busy(run.Engine().flags);
  TRunApp worker(services.programs, start, [&services] { services.workers.Wake(0); });
  std::unique_ptr<TWorkerThread> thread;
  try {
    thread = services.workers.Start([&worker] { worker.Execute(); });
  } catch (const std::exception&) {
    return std::nullopt;
  }
  WaitUntilWorkerDone(run, *thread, [&worker] { return worker.Done(); }, [&run] {
    run.Engine().progress.Set(run.Store().Get("PROGRESSTEXT"), 0, 100, ReadInteger64(run.Store().Get("PROGRESS")));
  });
  return worker.ExitCode();
}

void RunLightModeSetupCommand(TRunContext& run, TArchiveCommandServices& services) {
  const std::string scriptFile = run.NormalisedLine(1);
  const TProgramStart start{scriptFile, run.NormalisedLine(3), false, IsTrue(run.Line(4))};
  std::optional<uint32_t> exitCode;
  {
    TLightModeSetup setup(services.files, run.Host().EnginePath(), scriptFile);
    if (!setup.Build()) {
      StorePlainResult(run, 2, kLightModeFailed);
      return;
    }
    setup.PlaceArchiveLibrary();
    exitCode = RunLightModeProgram(run, services, start);
  }
  StorePlainResult(run, 2, exitCode ? std::to_string(*exitCode) : std::string(kLightModeFailed));
}

}  // namespace

void RegisterArchiveCommands(TCommandTable& table, TArchiveCommandServices& services) {
  table.Register("Extract 7Zip Archive", [&services](TRunContext& run) { ExtractArchiveCommand(run, services); });
  table.Register("Run Light Mode Setup", [&services](TRunContext& run) { RunLightModeSetupCommand(run, services); });
}

}  // namespace corvane
