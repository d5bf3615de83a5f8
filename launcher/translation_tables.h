// The script's texts in one language: the key file (named after the product
// title, ".mtx"), the owner file "translations.Map" and the language file
// "translations." + language, three files whose line i describes one text.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace corvane {

class TTranslationTables {
public:
  TTranslationTables() = default;  // nothing translated

  // The three files' contents. Files whose line counts differ are not
  // parallel, so nothing in them can be trusted: the result is the reason.
  static std::variant<TTranslationTables, std::string> Parse(std::string_view keys, std::string_view owners,
                                                             std::string_view texts);

  // A command's texts occupy consecutive lines from the one holding its GUID
  // (letter case ignored): slot 1 is that line, slot 2 the next one.
  std::optional<std::string> CommandText(std::string_view guid, int slot) const;
  // A dialog text: the line holding the dialog's owner key and the control's
  // key, both letter case ignored.
  std::optional<std::string> DialogText(std::string_view owner, std::string_view control) const;

private:
  std::vector<std::string> keys_;
  std::vector<std::string> owners_;
  std::vector<std::string> texts_;
};

}  // namespace corvane
