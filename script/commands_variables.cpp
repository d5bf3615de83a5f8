#include <optional>
#include <string>

#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

void SetVariable(TRunContext& run) {
  std::string value = run.SubstitutedLine(2);
  if (const std::optional<std::string> translated = run.Translation(value, 1)) {
    value = run.Store().Substitute(*translated);
  }
  run.StoreResult(NamedVariable(run.Line(1)), value);
}

}  // namespace

void RegisterVariableCommands(TCommandTable& table) {
  table.Register("Set Variable", SetVariable);
  // Both do nothing, whatever their parameter blocks hold.
  table.Register("Comment", [](TRunContext&) {});
  table.Register("Ignore", [](TRunContext&) {});
}

}  // namespace corvane
