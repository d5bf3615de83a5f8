#include "script/core_commands.h"

namespace corvane {

void RegisterCoreCommands(TCommandTable& table) {
  RegisterFlowCommands(table);
  RegisterVariableCommands(table);
  RegisterMessageBoxCommand(table);
  RegisterRunEndCommands(table);
}

}  // namespace corvane
