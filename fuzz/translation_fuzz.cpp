// Arbitrary bytes as the three parallel translation files and a message
// file: parsing never fails other than by refusing files that are not
// parallel, and every key line's text is what a lookup of it returns.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <optional>
#include <variant>
#include <vector>

#include "launcher/message_table.h"
#include "launcher/text_lines.h"
#include "launcher/translation_tables.h"
#include "script/text_rules.h"

namespace {

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

// The line a lookup of key must find: the first one equal to it.
std::size_t FirstLineOf(const std::vector<std::string>& keys, const std::string& key) {
  std::size_t line = 0;
  while (!corvane::EqualIgnoringCase(keys[line], key)) ++line;
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const std::string keys = provider.ConsumeRandomLengthString();
  const std::string owners = provider.ConsumeRandomLengthString();
  const std::string texts = provider.ConsumeRandomLengthString();
  const std::string messageFile = provider.ConsumeRemainingBytesAsString();

  corvane::TMessageTable messages;
  messages.LoadMessageFile(messageFile);
  Check(messages.Text(100).empty());  // reserved

  const auto parsed = corvane::TTranslationTables::Parse(keys, owners, texts);
  const std::vector<std::string> keyLines = corvane::SplitTextLines(keys);
  const std::vector<std::string> ownerLines = corvane::SplitTextLines(owners);
  const std::vector<std::string> textLines = corvane::SplitTextLines(texts);
  const bool parallel = keyLines.size() == ownerLines.size() && keyLines.size() == textLines.size();
  Check(std::holds_alternative<corvane::TTranslationTables>(parsed) == parallel);
  if (!parallel) return 0;
  const auto& tables = std::get<corvane::TTranslationTables>(parsed);
  for (std::size_t i = 0; i < keyLines.size(); ++i) {
    if (keyLines[i].empty()) continue;
    const std::size_t first = FirstLineOf(keyLines, keyLines[i]);
    Check(tables.CommandText(keyLines[i], 1) == textLines[first]);
    const std::optional<std::string> dialog = tables.DialogText(ownerLines[i], keyLines[i]);
    Check(dialog.has_value());
  }
  return 0;
}
