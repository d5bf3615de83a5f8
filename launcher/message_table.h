// The engine's own fixed messages: 115 lines in a fixed order, English by
// default, replaced as a whole by a message file (lang.loc or a shared
// translation file). Entries are numbered from 1, as in the message file.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// Numbers of the entries the code shows.
inline constexpr int kMessageGetUndefinedVariable = 9;
inline constexpr int kMessageSetUndefinedVariable = 10;
inline constexpr int kMessageRuntimeErrorInScript = 20;
inline constexpr int kMessagePercentComplete = 21;
inline constexpr int kMessageWizard = 23;

class TMessageTable {
public:
  static constexpr int kCount = 115;

  TMessageTable();  // the built-in English texts

  // Entry 1 to 115; reserved and unknown numbers read as empty text.
  const std::string& Text(int number) const;

  // Plain 8-bit text, one message per line (CR LF or LF), read up to line
  // 115; lines it lacks become empty. The reserved lines 91 to 111 are read
  // and ignored. Replaces the table on the main thread, between commands.
  void LoadMessageFile(std::string_view content);

private:
  std::vector<std::string> texts_;  // index = number - 1
};

// The caption of every engine message box: the bare title when branding is
// off, else the title followed by " - " and the "Corvane Wizard" entry, or
// that entry alone while no title is known.
std::string WizardCaption(const TMessageTable& messages, std::string_view title, bool brandOff);

}  // namespace corvane
