#include "script/interpreter.h"

#include <exception>
#include <utility>

#include "script/text_rules.h"

namespace corvane {
namespace {

// Handling window messages only now and then keeps long runs of cheap
// commands fast while the dialogs still repaint.
constexpr std::size_t kMessagePumpInterval = 314;

constexpr std::string_view kPhaseInitialization = "Initialization";
constexpr std::string_view kPhaseCancelState = "Cancel State";

class TEndOfRun {
public:
  TEndOfRun(TRunContext& run, const std::vector<TRunHook*>& hooks) : run_(run), hooks_(hooks) {}
  TEndOfRun(const TEndOfRun&) = delete;
  TEndOfRun& operator=(const TEndOfRun&) = delete;
  ~TEndOfRun() {
    for (TRunHook* hook : hooks_) {
      hook->EndOfRun(run_);
    }
  }

private:
  TRunContext& run_;
  const std::vector<TRunHook*>& hooks_;
};

// Names and the plug-in list do not change during a run, so each line's
// handler is found once.
std::vector<const TCommandHandler*> ResolveHandlers(const TScriptContainer& container, const TCommandTable& commands) {
  std::vector<const TCommandHandler*> handlers;
  handlers.reserve(container.CommandCount());
  for (std::size_t i = 0; i < container.CommandCount(); ++i) {
    const std::string& name = container.Name(i);
    handlers.push_back(commands.Resolve(name, container.IsPluginCommand(name)));
  }
  return handlers;
}

// A flag whose variable a plug-in has removed keeps its last value.
void RefreshFlags(TRunContext& run) {
  TVariableStore& store = run.Store();
  TRunState& state = run.State();
  if (std::optional<std::string> logged = store.Find("LOGGED")) {
    state.logPath = std::move(*logged);
  }
  if (const std::optional<std::string> silent = store.Find("SILENT")) {
    run.Engine().flags.silent = IsTrue(*silent);
  }
  if (std::optional<std::string> title = store.Find("TITLE")) {
    state.title = std::move(*title);
  }
  if (const std::optional<std::string> noBrand = store.Find("NOBRAND")) {
    state.brandOff = *noBrand == "TRUE";
  }
  store.Define("DATE", run.Host().CurrentDate(), kPhaseInitialization);
  store.Define("TIME", run.Host().CurrentTime(), kPhaseInitialization);
}

// While a dialog is shown non-modally it shows PROGRESSTEXT and PROGRESS.
void PushProgress(TRunContext& run) {
  TRunState& state = run.State();
  if (state.progressWindow == 0) {
    return;
  }
  std::string text = run.Store().Get("PROGRESSTEXT");
  const std::int64_t position = ReadInteger64(run.Store().Get("PROGRESS"));
  if (text == state.lastShownText && position == state.lastShownPosition) {
    return;
  }
  run.Engine().progress.Set(text, 0, 100, position);
  state.lastShownText = std::move(text);
  state.lastShownPosition = position;
  run.WaitStep();
}

void ReportScriptError(TRunContext& run, std::string_view message) {
  if (run.Silent()) {
    return;
  }
  const std::string text = run.Engine().messages.Text(kMessageRuntimeErrorInScript) + "\r\rLine " +
                           std::to_string(run.State().currentLine) + ": " + std::string(message);
  run.Host().ShowMessageBox(0, run.Caption(), text, kBoxIconError);
}

// Any error while a step runs ends the script, reported with the line.
template <typename TStep>
void RunReportingErrors(TRunContext& run, TStep&& step) {
  try {
    std::forward<TStep>(step)();
  } catch (const std::exception& error) {
    ReportScriptError(run, error.what());
    run.EndRun();
  }
}

// A pending search or wizard step still has to move, even from the last line.
bool MustAdvance(const TRunState& state, std::size_t commandCount) {
  const TFlowState& flow = state.flow;
  return state.currentLine < commandCount || flow.branchSearchPending || flow.endSearchPending || flow.wizardActive;
}

}  // namespace

TInterpreter::TInterpreter(TEngineContext& engine, TScriptHost& host, const TCommandTable& commands,
                           TInterpreterServices services)
    : engine_(engine), host_(host), commands_(commands), services_(std::move(services)) {}

int TInterpreter::Run(const TScriptContainer& container, const std::string& packagePath) {
  if (services_.validator != nullptr && !services_.validator->Validate(container)) {
    return 0;
  }
  TRunContext run(engine_, host_, container, packagePath, services_.translator);
  const TEndOfRun endOfRun(run, services_.hooks);
  run.State().labels = BuildLabelTable(container);
  services_.initialiser.Prepare(run);
  RunReportingErrors(run, [&] {
    if (!services_.initialiser.Complete(run)) {
      run.EndRun();
    }
  });
  const std::vector<const TCommandHandler*> handlers = ResolveHandlers(container, commands_);
  while (!run.State().ended && MustAdvance(run.State(), container.CommandCount())) {
    RunReportingErrors(run, [&] { RunCycle(run, handlers); });
  }
  return run.State().exitCode;
}

void TInterpreter::RunCycle(TRunContext& run, const std::vector<const TCommandHandler*>& handlers) {
  TRunState& state = run.State();
  const TScriptContainer& container = run.Container();
  if (state.currentLine % kMessagePumpInterval == 0) {
    host_.HandlePendingMessages();
  }
  RefreshFlags(run);
  if (services_.translator != nullptr) {
    services_.translator->Refresh(run);
  }
  for (TRunHook* hook : services_.hooks) {
    hook->BeforeCommand(run);
  }
  AdvanceToNextCommand(container, state.flow, state.currentLine);
  if (state.currentLine > container.CommandCount()) {
    run.EndRun();
    return;
  }
  if (container.Disabled(run.CommandIndex())) {
    return;
  }
  run.Store().Set("ABORT", BooleanText(engine_.flags.cancel), kPhaseCancelState);
  PushProgress(run);
  if (const TCommandHandler* handler = handlers[run.CommandIndex()]) {
    (*handler)(run);
  }
}

}  // namespace corvane
