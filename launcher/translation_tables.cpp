#include "launcher/translation_tables.h"

#include <algorithm>

#include "launcher/text_lines.h"
#include "script/text_rules.h"

namespace corvane {

std::variant<TTranslationTables, std::string> TTranslationTables::Parse(std::string_view keys,
                                                                        std::string_view owners,
                                                                        std::string_view texts) {
  TTranslationTables tables;
  tables.keys_ = SplitTextLines(keys);
  tables.owners_ = SplitTextLines(owners);
  tables.texts_ = SplitTextLines(texts);
  const std::size_t count = tables.keys_.size();
  if (tables.owners_.size() != count || tables.texts_.size() != count) {
    return "line counts differ: key file " + std::to_string(count) + ", owner file " +
           std::to_string(tables.owners_.size()) + ", language file " + std::to_string(tables.texts_.size());
  }
  return tables;
}

std::optional<std::string> TTranslationTables::CommandText(std::string_view guid, int slot) const {
  if (guid.empty() || slot < 1) {
    return std::nullopt;
  }
  const auto found = std::ranges::find_if(keys_, [&](const std::string& key) { return EqualIgnoringCase(key, guid); });
  if (found == keys_.end()) {
    return std::nullopt;
  }
  const auto line = static_cast<std::size_t>(found - keys_.begin()) + static_cast<std::size_t>(slot - 1);
  if (line >= texts_.size()) {
    return std::nullopt;
  }
  return texts_[line];
}

std::optional<std::string> TTranslationTables::DialogText(std::string_view owner, std::string_view control) const {
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (EqualIgnoringCase(owners_[i], owner) && EqualIgnoringCase(keys_[i], control)) {
      return texts_[i];
    }
  }
  return std::nullopt;
}

}  // namespace corvane
