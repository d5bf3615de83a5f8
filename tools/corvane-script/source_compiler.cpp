#include "tools/corvane-script/source_compiler.h"

#include "tools/corvane-script/source_format.h"
#include "tools/corvane-script/stable_guid.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace corvane::authoring {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kDefaultLanguage = "English";

struct TSourceLine {
  std::size_t number = 0;  // 1-based
  std::size_t indent = 0;  // leading spaces and tabs
  std::string_view content;

  bool Skippable() const { return TrimBlanks(content).empty() || content.front() == kComment; }
};

std::vector<TSourceLine> SplitLines(std::string_view text) {
  if (text.starts_with(kUtf8Bom)) {
    text.remove_prefix(kUtf8Bom.size());
  }
  std::vector<TSourceLine> lines;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    const std::size_t indent = std::min(line.find_first_not_of(" \t"), line.size());
    lines.push_back({lines.size() + 1, indent, line.substr(indent)});
  }
  return lines;
}

std::string BaseName(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsKeyChar(char c) { return (c >= 'a' && c <= 'z') || c == '-'; }

struct TSourceCommand {
  std::size_t line = 0;
  std::string name;
  std::optional<std::string> guid;
  std::string mark;
  std::string media;
  std::optional<std::string> header;
  bool emptyBlock = false;
  std::vector<std::string> parameters;
  std::vector<std::size_t> parameterLines;

  bool HasBlock() const { return emptyBlock || !parameters.empty(); }
};

struct TBlockOrderEntry {
  std::size_t line;
  std::string guid;
};

class TSourceCompiler {
public:
  TSourceCompiler(std::string_view text, std::string_view fileName)
      : text_(text), fileName_(fileName), seedName_(BaseName(fileName)), lines_(SplitLines(text)) {}

  TContainerSections Compile() {
    for (std::size_t i = 0; i < lines_.size();) {
      i = ReadEntry(i);
    }
    BuildCommandSections();
    FillDefaults();
    return std::move(sections_);
  }

private:
  [[noreturn]] void Fail(std::size_t line, const std::string& message) const {
    throw TSourceError(fileName_, line, message);
  }

  std::string Quoted(std::string_view text) const { return "\"" + std::string(text) + "\""; }

  // A value runs to the end of the line, trailing blanks dropped, unless it
  // is written between "|" marks.
  std::string Value(std::size_t line, std::string_view text) const {
    text = text.substr(std::min(text.size(), text.find_first_not_of(" \t")));
    if (text.empty() || text.front() != kDelimiter) {
      return std::string(TrimTrailingBlanks(text));
    }
    std::size_t pos = 0;
    std::optional<std::string> value = ReadDelimited(text, pos);
    if (!value) {
      Fail(line, "the text after \"|\" has no closing \"|\"");
    }
    if (!TrimBlanks(text.substr(pos)).empty()) {
      Fail(line, "unexpected text after the closing \"|\" (a \"|\" inside is written \"||\")");
    }
    return std::move(*value);
  }

  // A line of a container list cannot be "$", which ends the list.
  std::string ListValue(std::size_t line, std::string text) const {
    if (text == "$") {
      Fail(line, "\"$\" cannot be stored: a line \"$\" ends a list of the container");
    }
    return text;
  }

  // One top-level entry: "key: value", or "key:" and the indented lines below.
  std::size_t ReadEntry(std::size_t i) {
    const TSourceLine& line = lines_[i];
    if (line.Skippable()) {
      return i + 1;
    }
    if (line.indent > 0) {
      Fail(line.number, "indented line outside a list (lists start with a key such as \"plugins:\")");
    }
    const std::size_t colon = line.content.find(':');
    const std::string_view key = line.content.substr(0, colon);
    if (colon == std::string_view::npos || key.empty() || !std::ranges::all_of(key, IsKeyChar)) {
      Fail(line.number, "expected a key such as \"title:\" or \"script:\", found " +
                            Quoted(line.content));
    }
    const auto [seen, added] = keyLines_.try_emplace(std::string(key), line.number);
    if (!added) {
      Fail(line.number, Quoted(std::string(key) + ":") + " is given twice (first on line " +
                            std::to_string(seen->second) + ")");
    }
    const std::string_view rest = line.content.substr(colon + 1);
    if (ReadSingleLineKey(line.number, key, rest)) {
      return i + 1;
    }
    const TListKey* list = FindListKey(key);
    if (!list && key != kScriptKey && key != kBlockOrderKey) {
      Fail(line.number, "unknown key " + Quoted(key));
    }
    if (!TrimBlanks(rest).empty()) {
      Fail(line.number, Quoted(std::string(key) + ":") +
                            " takes its items on the indented lines below it");
    }
    const std::size_t end = BlockEnd(i + 1);
    if (key == kScriptKey) {
      ReadScript(i + 1, end);
    } else if (key == kBlockOrderKey) {
      for (std::size_t j = i + 1; j < end; ++j) {
        if (!lines_[j].Skippable()) {
          blockOrder_.push_back({lines_[j].number, Value(lines_[j].number, lines_[j].content)});
        }
      }
    } else {
      std::vector<std::string>& items = list->field(sections_);
      for (std::size_t j = i + 1; j < end; ++j) {
        if (!lines_[j].Skippable()) {
          items.push_back(ListValue(lines_[j].number, Value(lines_[j].number, lines_[j].content)));
        }
      }
    }
    return end;
  }

  // The indented and skippable lines that follow a list key.
  std::size_t BlockEnd(std::size_t i) const {
    while (i < lines_.size() && (lines_[i].Skippable() || lines_[i].indent > 0)) {
      ++i;
    }
    return i;
  }

  bool ReadSingleLineKey(std::size_t line, std::string_view key, std::string_view rest) {
    const auto& textKeys = TextKeys();
    if (const auto text = std::ranges::find(textKeys, key, &TTextKey::key); text != textKeys.end()) {
      text->field(sections_) = Value(line, rest);
      return true;
    }
    if (key == kMediaLayoutKey) {
      const std::string value = Value(line, rest);
      const std::optional<int> layout = ParseDecimalInteger(value);
      if (!layout) {
        Fail(line, "media-layout must be a decimal integer, found " + Quoted(value));
      }
      sections_.mediaLayout = *layout;
      return true;
    }
    if (key == kLanguagePromptKey) {
      const std::string value = Value(line, rest);
      if (value != "TRUE" && value != "FALSE") {
        Fail(line, "language-prompt must be TRUE or FALSE, found " + Quoted(value));
      }
      sections_.languagePrompt = value == "TRUE";
      return true;
    }
    return false;
  }

  // Command lines share one indentation; deeper lines are the parameter
  // lines of the command above them.
  void ReadScript(std::size_t begin, std::size_t end) {
    std::size_t commandIndent = 0;
    for (std::size_t i = begin; i < end; ++i) {
      const TSourceLine& line = lines_[i];
      if (line.Skippable()) {
        continue;
      }
      if (commandIndent == 0) {
        commandIndent = line.indent;
      }
      if (line.indent == commandIndent) {
        commands_.push_back(ParseCommand(line));
      } else if (line.indent > commandIndent) {
        commands_.back().parameters.push_back(ListValue(line.number, Value(line.number, line.content)));
        commands_.back().parameterLines.push_back(line.number);
      } else {
        Fail(line.number, "indented less than the command lines above it");
      }
    }
  }

  TSourceCommand ParseCommand(const TSourceLine& line) const {
    const std::string_view content = line.content;
    TSourceCommand command;
    command.line = line.number;
    std::size_t pos = 0;
    if (content.front() == kDelimiter) {
      std::optional<std::string> name = ReadDelimited(content, pos);
      if (!name) {
        Fail(line.number, "the command name after \"|\" has no closing \"|\"");
      }
      command.name = ListValue(line.number, std::move(*name));
    } else {
      pos = std::min(content.find_first_of("[{"), content.size());
      command.name = ListValue(line.number, std::string(TrimTrailingBlanks(content.substr(0, pos))));
      if (command.name.empty()) {
        Fail(line.number, "a command line starts with the command name");
      }
    }
    pos = SkipBlanks(content, pos);
    if (pos < content.size() && content[pos] == '[') {
      pos = ParseAttributes(line.number, content, pos + 1, command);
    }
    pos = SkipBlanks(content, pos);
    if (pos < content.size() && content[pos] == '{') {
      const std::string_view guid = TrimTrailingBlanks(content.substr(pos));
      if (!IsUpperCaseGuid(guid)) {
        Fail(line.number, Quoted(guid) + " is not an upper-case braced GUID such as "
                          "{BCE775E9-14F6-44FC-B1F2-BC1D4C313260} (other texts: guid=|...|)");
      }
      if (command.guid) {
        Fail(line.number, "the command has both guid= and a GUID");
      }
      command.guid = std::string(guid);
      pos = content.size();
    }
    if (pos < content.size()) {
      Fail(line.number, "unexpected " + Quoted(content.substr(pos)) +
                            "; a command line reads NAME [attributes] {GUID}");
    }
    return command;
  }

  static std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
      ++pos;
    }
    return pos;
  }

  // "[key=value flag ...]" from just after "["; returns the position after "]".
  std::size_t ParseAttributes(std::size_t line, std::string_view text, std::size_t pos,
                              TSourceCommand& command) const {
    std::set<std::string, std::less<>> seen;
    for (;;) {
      pos = SkipBlanks(text, pos);
      if (pos >= text.size()) {
        Fail(line, "the attributes after \"[\" have no closing \"]\"");
      }
      if (text[pos] == ']') {
        return pos + 1;
      }
      const std::size_t keyStart = pos;
      while (pos < text.size() && IsKeyChar(text[pos])) {
        ++pos;
      }
      const std::string key(text.substr(keyStart, pos - keyStart));
      if (key.empty()) {
        Fail(line, "unexpected " + Quoted(text.substr(keyStart, 1)) + " in the attributes");
      }
      if (!seen.insert(key).second) {
        Fail(line, "the attribute " + Quoted(key) + " is given twice");
      }
      std::optional<std::string> value;
      if (pos < text.size() && text[pos] == '=') {
        value = ListValue(line, AttributeValue(line, text, ++pos));
      }
      ApplyAttribute(line, key, std::move(value), command);
    }
  }

  std::string AttributeValue(std::size_t line, std::string_view text, std::size_t& pos) const {
    if (pos < text.size() && text[pos] == kDelimiter) {
      std::optional<std::string> value = ReadDelimited(text, pos);
      if (!value) {
        Fail(line, "an attribute value after \"|\" has no closing \"|\"");
      }
      return std::move(*value);
    }
    const std::size_t start = pos;
    while (pos < text.size() && !IsBlank(text[pos]) && text[pos] != ']') {
      ++pos;
    }
    return std::string(text.substr(start, pos - start));
  }

  void ApplyAttribute(std::size_t line, const std::string& key, std::optional<std::string> value,
                      TSourceCommand& command) const {
    const bool isFlag = key == "disabled" || key == "empty-block";
    const bool isValued = key == "mark" || key == "header" || key == "media" || key == "guid";
    if (!isFlag && !isValued) {
      Fail(line, "unknown attribute " + Quoted(key) +
                     " (known: disabled, header=, media=, guid=, mark=, empty-block)");
    }
    if (isFlag && value) {
      Fail(line, "the attribute " + Quoted(key) + " takes no value");
    }
    if (isValued && !value) {
      Fail(line, "the attribute " + Quoted(key) + " needs a value: " + key + "=...");
    }
    if ((key == "disabled" || key == "mark") && !command.mark.empty()) {
      Fail(line, "\"disabled\" and \"mark=\" cannot be combined");
    }
    if (key == "disabled") {
      command.mark = kDisabledMark;
    } else if (key == "empty-block") {
      command.emptyBlock = true;
    } else if (key == "mark") {
      command.mark = std::move(*value);
    } else if (key == "header") {
      command.header = std::move(*value);
    } else if (key == "media") {
      command.media = std::move(*value);
    } else {
      command.guid = std::move(*value);
    }
  }

  std::optional<std::size_t> KeyLine(std::string_view key) const {
    const auto found = keyLines_.find(std::string(key));
    return found == keyLines_.end() ? std::nullopt : std::optional(found->second);
  }

  std::string KeyAt(std::string_view key) const {
    return Quoted(std::string(key) + ":") + " (line " + std::to_string(*KeyLine(key)) + ")";
  }

  void BuildCommandSections() {
    const std::optional<std::size_t> script = KeyLine(kScriptKey);
    for (std::string_view raw : {kCommandNamesKey, kCommandGuidsKey, kDisabledMarksKey, kMediaFoldersKey}) {
      if (script && KeyLine(raw)) {
        Fail(*KeyLine(raw), Quoted(std::string(raw) + ":") +
                                " gives a command list verbatim and cannot be used with \"script:\"");
      }
    }
    if (!blockOrder_.empty() && (!script || KeyLine(kParameterBlocksKey))) {
      Fail(*KeyLine(kBlockOrderKey),
           "\"block-order:\" orders the parameter lines of the commands under \"script:\"");
    }
    if (!script) {
      return;
    }
    AssignGuids();
    for (const TSourceCommand& command : commands_) {
      sections_.commandNames.push_back(command.name);
      sections_.commandGuids.push_back(*command.guid);
      sections_.disabledMarks.push_back(command.mark);
      sections_.mediaFolders.push_back(command.media);
    }
    BuildParameterBlocks();
    BuildHeaderTable();
  }

  void AssignGuids() {
    std::map<std::string, std::size_t> used;
    for (std::size_t index = 0; index < commands_.size(); ++index) {
      TSourceCommand& command = commands_[index];
      if (!command.guid) {
        std::vector<std::string> parts = {seedName_, "command", std::to_string(index), command.name};
        parts.insert(parts.end(), command.parameters.begin(), command.parameters.end());
        command.guid = StableGuid(parts);
      }
      const auto [other, added] = used.try_emplace(*command.guid, command.line);
      if (!added) {
        Fail(command.line, "the GUID " + *command.guid + " is already used by the command on line " +
                               std::to_string(other->second));
      }
    }
  }

  void BuildParameterBlocks() {
    const bool raw = KeyLine(kParameterBlocksKey).has_value();
    std::vector<const TSourceCommand*> owners;
    for (const TSourceCommand& command : commands_) {
      if (command.emptyBlock && !command.parameters.empty()) {
        Fail(command.line, "\"empty-block\" on a command that has parameter lines");
      }
      if (raw && command.HasBlock()) {
        Fail(command.line, "parameter lines cannot be combined with " + KeyAt(kParameterBlocksKey));
      }
      if (command.HasBlock()) {
        owners.push_back(&command);
      }
    }
    if (!blockOrder_.empty()) {
      owners = OrderedOwners(owners);
    }
    // The engine finds a block at the first line equal to its GUID.
    std::map<std::string, std::size_t, std::less<>> notYetStarted;
    for (const TSourceCommand& command : commands_) {
      notYetStarted.emplace(*command.guid, command.line);
    }
    for (const TSourceCommand* owner : owners) {
      notYetStarted.erase(*owner->guid);
      for (std::size_t k = 0; k < owner->parameters.size(); ++k) {
        if (const auto shadowed = notYetStarted.find(owner->parameters[k]); shadowed != notYetStarted.end()) {
          Fail(owner->parameterLines[k], "this line is the GUID of the command on line " +
                                             std::to_string(shadowed->second) +
                                             ", whose parameters the engine would then read from here");
        }
      }
      sections_.parameterBlocks.push_back(*owner->guid);
      sections_.parameterBlocks.insert(sections_.parameterBlocks.end(), owner->parameters.begin(),
                                       owner->parameters.end());
    }
  }

  std::vector<const TSourceCommand*> OrderedOwners(const std::vector<const TSourceCommand*>& owners) const {
    std::map<std::string, const TSourceCommand*, std::less<>> byGuid;
    for (const TSourceCommand* owner : owners) {
      byGuid.emplace(*owner->guid, owner);
    }
    std::vector<const TSourceCommand*> ordered;
    for (const TBlockOrderEntry& entry : blockOrder_) {
      const auto found = byGuid.find(entry.guid);
      if (found == byGuid.end()) {
        Fail(entry.line, Quoted(entry.guid) + " is not the GUID of a command with parameter lines, "
                                               "or is listed twice");
      }
      ordered.push_back(found->second);
      byGuid.erase(found);
    }
    if (!byGuid.empty()) {
      Fail(*KeyLine(kBlockOrderKey), "\"block-order:\" does not list the command on line " +
                                         std::to_string(byGuid.begin()->second->line) + " (" +
                                         byGuid.begin()->first + ")");
    }
    return ordered;
  }

  void BuildHeaderTable() {
    const bool raw = KeyLine(kCommandHeadersKey).has_value();
    for (std::size_t index = 0; index < commands_.size(); ++index) {
      const TSourceCommand& command = commands_[index];
      if (!command.header) {
        continue;
      }
      if (raw) {
        Fail(command.line, "header= cannot be combined with " + KeyAt(kCommandHeadersKey));
      }
      sections_.headerTable.push_back(*command.header);
      sections_.headerTable.push_back(std::to_string(index));
    }
  }

  void FillDefaults() {
    if (!KeyLine("product-code")) {
      sections_.productCode = StableGuid({seedName_, "product-code", sections_.title});
    }
    if (!KeyLine("revision-code")) {
      sections_.revisionCode = StableGuid({seedName_, "revision-code", std::string(text_)});
    }
    if (!KeyLine("default-language")) {
      sections_.defaultLanguage = kDefaultLanguage;
    }
  }

  std::string_view text_;
  std::string fileName_;
  std::string seedName_;
  std::vector<TSourceLine> lines_;
  std::map<std::string, std::size_t> keyLines_;  // key -> line it is given on
  TContainerSections sections_;
  std::vector<TSourceCommand> commands_;
  std::vector<TBlockOrderEntry> blockOrder_;
};

std::string ErrorText(const std::string& fileName, std::size_t line, const std::string& message) {
  return line == 0 ? fileName + ": " + message : fileName + ":" + std::to_string(line) + ": " + message;
}

}  // namespace

TSourceError::TSourceError(const std::string& fileName, std::size_t line, const std::string& message)
    : std::runtime_error(ErrorText(fileName, line, message)), line_(line) {}

TContainerSections CompileSource(std::string_view text, std::string_view fileName) {
  return TSourceCompiler(text, fileName).Compile();
}

}  // namespace corvane::authoring
