#include <array>
#include <string_view>

#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/run_context.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

// Icon codes 0 to 3: information, question, warning, error; others: none.
unsigned IconStyle(int code) {
  constexpr std::array<unsigned, 4> kIcons = {0x40, 0x20, 0x30, 0x10};
  return code >= 0 && code < static_cast<int>(kIcons.size()) ? kIcons[static_cast<std::size_t>(code)] : 0;
}

// Button codes 0 to 5: Abort/Retry/Ignore, OK, OK/Cancel, Retry/Cancel,
// Yes/No, Yes/No/Cancel; others: OK.
unsigned ButtonStyle(int code) {
  constexpr std::array<unsigned, 6> kButtons = {0x2, 0x0, 0x1, 0x5, 0x4, 0x3};
  return code >= 0 && code < static_cast<int>(kButtons.size()) ? kButtons[static_cast<std::size_t>(code)] : 0;
}

// The word for the button pressed (codes 1 to 7); empty for anything else.
std::string_view AnswerWord(int answer) {
  constexpr std::array<std::string_view, 7> kWords = {"OK", "CANCEL", "ABORT", "RETRY", "IGNORE", "YES", "NO"};
  return answer >= 1 && answer <= static_cast<int>(kWords.size()) ? kWords[static_cast<std::size_t>(answer - 1)]
                                                                    : std::string_view();
}

std::string TranslatedText(TRunContext& run, std::size_t line, int slot) {
  std::string text = run.SubstitutedLine(line);
  if (const std::optional<std::string> translated = run.Translation(text, slot)) {
    text = run.Store().Substitute(*translated);
  }
  return text;
}

void ShowMessageBox(TRunContext& run) {
  const std::string caption = TranslatedText(run, 1, 1);
  const std::string text = TranslatedText(run, 2, 2);
  const unsigned style = IconStyle(ReadInteger(run.Line(3))) + ButtonStyle(ReadInteger(run.Line(4)));
  if (run.Silent()) {
    return;
  }
  const int answer = run.Host().ShowMessageBox(run.State().progressWindow, caption, text, style);
  const std::string resultName = run.Line(5);
  if (!resultName.empty()) {
    run.StoreResult(resultName, AnswerWord(answer));
  }
}

}  // namespace

void RegisterMessageBoxCommand(TCommandTable& table) { table.Register("MessageBox", ShowMessageBox); }

}  // namespace corvane
