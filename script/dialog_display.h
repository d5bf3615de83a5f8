// "Display Dialog" as the interpreter sees it: a display hands back a result
// code, and inside a Wizard Loop the code steers the loop.
#pragma once

namespace corvane {

class TCommandTable;
class TRunContext;

inline constexpr int kDisplaySkipped = -1;  // the dialog's condition passed it over
inline constexpr int kDisplayNotModal = 0;
inline constexpr int kDisplayCancel = 2;
inline constexpr int kDisplayNext = 6;
inline constexpr int kDisplayBack = 7;
inline constexpr int kDisplayNamed = 8;  // a button with a result name of its own

class TDialogDisplay {
public:
  virtual ~TDialogDisplay() = default;
  // Runs the run's current "Display Dialog" command and returns its code.
  virtual int DisplayDialog(TRunContext& run) = 0;
};

// Registers "Display Dialog" so that it goes through display.
void RegisterDisplayDialog(TCommandTable& table, TDialogDisplay& display);

}  // namespace corvane
