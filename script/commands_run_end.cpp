#include <algorithm>

#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::size_t kResumeNameLength = 8;

void TerminateWithExitCode(TRunContext& run) {
  run.State().exitCode = ParseDecimalInteger(run.SubstitutedLine(1)).value_or(0);
  run.EndRun();
}

void RebootComputer(TRunContext& run) {
  run.Host().RequestRestart();
  run.EndRun();
}

// What the next start runs: the self-extractor when there is one, else this
// engine, with this run's arguments.
std::string ResumeCommand(TRunContext& run) {
  const TStartOptions& options = run.Engine().options;
  std::string command = options.selfExtractorPath.empty() ? run.Host().EnginePath() : options.selfExtractorPath;
  if (!options.argumentsText.empty()) {
    command += ' ' + options.argumentsText;
  }
  return command;
}

void RebootAndResume(TRunContext& run) {
  const TRegistryRoot root =
      IsTrue(run.Store().Get("ALLUSERS")) ? TRegistryRoot::LocalMachine : TRegistryRoot::CurrentUser;
  // A resume entry that cannot be written does not keep the system from restarting.
  run.Host().WriteRunValue(root, ResumeValueName(run.Store().Get("PRODUCTCODE")), ResumeCommand(run));
  RebootComputer(run);
}

}  // namespace

std::string ResumeValueName(std::string_view productCode) {
  const std::size_t brace = productCode.find('{');
  const std::size_t start = brace == std::string_view::npos ? 0 : brace + 1;
  return std::string(productCode.substr(std::min(start, productCode.size()), kResumeNameLength));
}

void RegisterRunEndCommands(TCommandTable& table) {
  table.Register("Terminate Install", [](TRunContext& run) { run.EndRun(); });
  table.Register("Terminate with Exit Code", TerminateWithExitCode);
  table.Register("Reboot Computer", RebootComputer);
  table.Register("Reboot and Resume", RebootAndResume);
}

}  // namespace corvane
