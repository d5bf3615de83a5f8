// The built-in commands of the script engine itself.
#pragma once

namespace corvane {

class TCommandTable;

// "If", "Else If", "Else", "End", "Wizard Loop", "Label", "GoTo Label".
void RegisterFlowCommands(TCommandTable& table);
// "Set Variable", "Comment", "Ignore".
void RegisterVariableCommands(TCommandTable& table);
// "MessageBox".
void RegisterMessageBoxCommand(TCommandTable& table);
// "Terminate Install", "Terminate with Exit Code", "Reboot Computer", "Reboot and Resume".
void RegisterRunEndCommands(TCommandTable& table);

// All of the above.
void RegisterCoreCommands(TCommandTable& table);

}  // namespace corvane
