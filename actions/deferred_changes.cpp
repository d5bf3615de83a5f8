#include "actions/deferred_changes.h"

#include <cstddef>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "media/media_step.h"
#include "script/command_table.h"
#include "script/run_context.h"
#include "script/script_error.h"

namespace corvane {
namespace {

// The layout whose installation data is fetched right before the lines that need it.
constexpr int kMediaOnDemandLayout = 2;

struct TTranslatableLine {
  std::size_t line;
  int slot;
};

struct TParameterSource {
  int digit;
  std::size_t line;
};

enum class TAlsoRecorded { Nothing, ShortcutText, ProgIdText, MediaStep };

struct TDeferredCommand {
  std::string name;
  std::vector<TTranslatableLine> translatable;
  std::vector<TParameterSource> parameters;  // in ascending digit order
  TAlsoRecorded also = TAlsoRecorded::Nothing;
};

std::vector<TDeferredCommand> DeferredCommands() {
  const std::vector<TTranslatableLine> shortcutTexts = {{2, 1}, {4, 2}};
  const std::vector<TParameterSource> shortcutParameters = {{1, 3}, {2, 1}, {3, 5}, {4, 6}};
  const std::vector<TTranslatableLine> fileTypeTexts = {{1, 1}, {3, 2}};
  using enum TAlsoRecorded;
  return {
      {"Write Registry", {}, {{1, 3}, {2, 4}, {3, 5}}},
      {"Create File Type", fileTypeTexts, {{1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}}},
      {"Advertised File Type", fileTypeTexts, {}, ProgIdText},
      {"Create Folder", {}, {{1, 1}}},
      {"Create Shortcut", shortcutTexts, shortcutParameters, ShortcutText},
      {"Advertised Shortcut", shortcutTexts, shortcutParameters, ShortcutText},
      {"Copy/Move Local Files", {}, {{1, 1}, {2, 3}}},
      {"Delete Files", {}, {{1, 1}}},
      {"Edit INI File", {}, {{1, 1}, {2, 4}, {3, 5}, {4, 6}}},
      {"Set Environment", {}, {{1, 2}}},
      {"Install Files", {}, {{1, 3}}, MediaStep},
      {"Install Assembly", {}, {{1, 3}}, MediaStep},
      {"Control Service", {{1, 1}}, {{1, 1}, {2, 2}}},
      {"Create ODBC DSN", {}, {}},
      {"Install ODBC Driver", {}, {{1, 4}}, MediaStep},
      {"Install Service",
       {{4, 1}, {5, 2}, {6, 3}, {9, 4}, {10, 5}},
       {{1, 2}, {2, 4}, {3, 5}, {4, 9}, {5, 10}, {6, 13}, {7, 14}, {8, 15}, {9, 6}},
       MediaStep},
  };
}

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

// Substituted, then, with a setup language, its translation substituted.
std::string PreparedText(TRunContext& run, const TTranslatableLine& translatable) {
  const std::string text = run.SubstitutedLine(translatable.line);
  const std::optional<std::string> translation = run.Translation(text, translatable.slot);
  return translation ? run.Store().Substitute(*translation) : text;
}

// False when the media could not be made available: the user has been told
// and the run ends here.
bool MediaAvailable(TRunContext& run, TMediaStep& mediaStep) {
  const TScriptContainer& container = run.Container();
  const std::string& mediaFolder = container.MediaFolder(run.CommandIndex());
  if (container.Sections().mediaLayout != kMediaOnDemandLayout || mediaFolder.empty()) {
    return true;
  }
  try {
    mediaStep.Fetch(run, mediaFolder);
    return true;
  } catch (const TMediaStepError& error) {
    // Shown in silent runs as well: without its data the setup cannot go on.
    run.Host().ShowMessageBox(run.State().progressWindow, run.Caption(), error.what(), kBoxIconError);
    run.EndRun();
    return false;
  }
}

void RecordDeferredCommand(TRunContext& run, const TDeferredCommand& command, TMediaStep& mediaStep) {
  std::map<std::size_t, std::string> prepared;
  for (const TTranslatableLine& translatable : command.translatable) {
    prepared[translatable.line] = PreparedText(run, translatable);
  }

  const std::string header = run.Container().CommandHeader(run.CommandIndex());
  if (header.empty()) {
    throw TScriptError(std::string(kMissingCommandHeader));
  }

  TDeferredRecords& records = run.Engine().deferred;
  const std::string parameterPrefix = "P" + header + "_";
  if (command.also == TAlsoRecorded::ShortcutText) {
    records.shortcutTexts.push_back({parameterPrefix + "1", ShortcutNameForm(prepared[2]), prepared[4]});
  } else if (command.also == TAlsoRecorded::ProgIdText) {
    records.progIdTexts.push_back({run.Line(1), prepared[1], prepared[3]});
  }

  records.Record("A" + header, "TRUE");
  if (command.also == TAlsoRecorded::MediaStep && !MediaAvailable(run, mediaStep)) {
    return;
  }

  for (const TParameterSource& source : command.parameters) {
    const auto preparedLine = prepared.find(source.line);
    const std::string value = preparedLine != prepared.end() ? run.Store().SubstituteNormalised(preparedLine->second)
                                                             : run.NormalisedLine(source.line);
    records.Record(parameterPrefix + std::to_string(source.digit), value);
  }
}

}  // namespace

std::string ShortcutNameForm(std::string_view name) {
  std::string_view shortPart = name.substr(0, 6);
  while (!shortPart.empty() && IsBlankOrControl(shortPart.front())) {
    shortPart.remove_prefix(1);
  }
  while (!shortPart.empty() && IsBlankOrControl(shortPart.back())) {
    shortPart.remove_suffix(1);
  }
  return std::string(shortPart) + "~1|" + std::string(name);
}

void RegisterDeferredChangeCommands(TCommandTable& table, TMediaStep& mediaStep) {
  for (TDeferredCommand& command : DeferredCommands()) {
    std::string name = command.name;
    table.Register(std::move(name), [command = std::move(command), &mediaStep](TRunContext& run) {
      RecordDeferredCommand(run, command, mediaStep);
    });
  }
}

}  // namespace corvane
