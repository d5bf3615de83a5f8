#include "tools/corvane-script/source_format.h"

#include <algorithm>

namespace corvane::authoring {

const std::vector<TTextKey>& TextKeys() {
  static const std::vector<TTextKey> keys = {
      {"product-code", [](TContainerSections& s) -> std::string& { return s.productCode; }},
      {"revision-code", [](TContainerSections& s) -> std::string& { return s.revisionCode; }},
      {"title", [](TContainerSections& s) -> std::string& { return s.title; }},
      {"publisher", [](TContainerSections& s) -> std::string& { return s.support.publisher; }},
      {"contact", [](TContainerSections& s) -> std::string& { return s.support.contact; }},
      {"help-link", [](TContainerSections& s) -> std::string& { return s.support.helpLink; }},
      {"update-info-link",
       [](TContainerSections& s) -> std::string& { return s.support.updateInfoLink; }},
      {"comments", [](TContainerSections& s) -> std::string& { return s.support.comments; }},
      {"default-language", [](TContainerSections& s) -> std::string& { return s.defaultLanguage; }},
  };
  return keys;
}

const std::vector<TListKey>& ListKeys() {
  using TList = std::vector<std::string>;
  static const std::vector<TListKey> keys = {
      {"plugins", [](TContainerSections& s) -> TList& { return s.pluginCommands; }, 1},
      {"component-sizes", [](TContainerSections& s) -> TList& { return s.componentSizes; }, 2},
      {"media-files", [](TContainerSections& s) -> TList& { return s.mediaFileMap; }, 3},
      {kCommandNamesKey, [](TContainerSections& s) -> TList& { return s.commandNames; }, 1},
      {kCommandGuidsKey, [](TContainerSections& s) -> TList& { return s.commandGuids; }, 1},
      {kParameterBlocksKey, [](TContainerSections& s) -> TList& { return s.parameterBlocks; }, 1},
      {kDisabledMarksKey, [](TContainerSections& s) -> TList& { return s.disabledMarks; }, 1},
      {kMediaFoldersKey, [](TContainerSections& s) -> TList& { return s.mediaFolders; }, 1},
      {kCommandHeadersKey, [](TContainerSections& s) -> TList& { return s.headerTable; }, 2},
  };
  return keys;
}

const TListKey* FindListKey(std::string_view key) {
  const auto& keys = ListKeys();
  const auto found = std::ranges::find(keys, key, &TListKey::key);
  return found == keys.end() ? nullptr : &*found;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view TrimTrailingBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  return TrimTrailingBlanks(text);
}

std::string Delimited(std::string_view text) {
  std::string out(1, kDelimiter);
  for (char c : text) {
    out += c;
    if (c == kDelimiter) {
      out += kDelimiter;
    }
  }
  out += kDelimiter;
  return out;
}

std::optional<std::string> ReadDelimited(std::string_view line, std::size_t& pos) {
  std::string text;
  for (std::size_t i = pos + 1; i < line.size(); ++i) {
    if (line[i] != kDelimiter) {
      text += line[i];
    } else if (i + 1 < line.size() && line[i + 1] == kDelimiter) {
      text += kDelimiter;
      ++i;
    } else {
      pos = i + 1;
      return text;
    }
  }
  return std::nullopt;
}

bool IsUpperCaseGuid(std::string_view text) {
  constexpr std::string_view kShape = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (text.size() != kShape.size()) {
    return false;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
    if (kShape[i] == 'X' ? !hex : c != kShape[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace corvane::authoring
