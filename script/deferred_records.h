// What reaching a deferred command leaves behind for the installer: the
// package property queue, the recorded property list and the text lists that
// a setup language applies to the package.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvane {

class TScriptContainer;

// CR LF pairs become "$NEWLINE$": the lists travel as comma text and files.
std::string EncodeNewlines(std::string_view text);

struct TShortcutText {
  std::string directory;    // the Directory_ the package's shortcut rows carry
  std::string name;         // short|long
  std::string description;
};

struct TProgIdText {
  std::string written;      // as the script line has it, before substitution
  std::string progId;       // substituted and translated
  std::string description;  // substituted and translated
};

struct TDeferredRecords {
  // Written into the package's Property table in this order, then discarded.
  std::vector<std::pair<std::string, std::string>> packageQueue;
  // Name, value, name, value...: never reordered, nothing removed.
  std::vector<std::string> recordedProperties;
  std::vector<TShortcutText> shortcutTexts;
  std::vector<TProgIdText> progIdTexts;

  // Queues the pair and appends it to the recorded list, both encoded.
  void Record(std::string_view name, std::string_view value);
  // "A" + header = "FALSE" for every line that has a header; lines without
  // one are skipped.
  void RecordInitialActivations(const TScriptContainer& container);
};

}  // namespace corvane
