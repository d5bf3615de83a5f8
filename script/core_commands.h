// The built-in commands of the script engine itself.
#pragma once

#include <string>
#include <string_view>

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
// The resume entry's value name: the 8 characters after the product code's
// opening brace (the first 8 when it has none).
std::string ResumeValueName(std::string_view productCode);

// All of the above.
void RegisterCoreCommands(TCommandTable& table);

}  // namespace corvane
