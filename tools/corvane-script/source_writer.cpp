#include "tools/corvane-script/source_writer.h"

#include "tools/corvane-script/source_format.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace corvane::authoring {
namespace {

constexpr std::string_view kCommandIndent = "  ";
constexpr std::string_view kParameterIndent = "    ";
constexpr std::string_view kListIndent = "  ";

bool HasOuterBlank(std::string_view text) {
  return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

// A value line: raw unless the reader would trim it, skip it or take it as
// delimited.
std::string ValueText(std::string_view text) {
  if (text.empty() || text.front() == kDelimiter || text.front() == kComment || HasOuterBlank(text)) {
    return Delimited(text);
  }
  return std::string(text);
}

std::string NameText(std::string_view name) {
  if (name.find_first_of("[{") != std::string_view::npos) {
    return Delimited(name);
  }
  return ValueText(name);
}

std::string AttributeText(std::string_view key, std::string_view value) {
  const bool raw = !value.empty() && value.front() != kDelimiter && value.find(']') == std::string_view::npos &&
                   std::ranges::none_of(value, IsBlank);
  return std::string(key) + "=" + (raw ? std::string(value) : Delimited(value));
}

// The decimal text of an index, and nothing else, names that index.
std::optional<std::size_t> CanonicalIndex(const std::string& text) {
  std::size_t index = 0;
  for (char c : text) {
    if (c < '0' || c > '9' || index > 100'000'000) {
      return std::nullopt;
    }
    index = index * 10 + static_cast<std::size_t>(c - '0');
  }
  if (text.empty() || std::to_string(index) != text) {
    return std::nullopt;
  }
  return index;
}

struct TCommandBlock {
  bool present = false;
  std::vector<std::string> parameters;
};

class TSourceWriter {
public:
  explicit TSourceWriter(const TContainerSections& sections)
      : s_(sections), structured_(HasParallelCommandLists()) {
    if (structured_) {
      SplitParameterBlocks();
      SplitHeaderTable();
    }
  }

  std::string Write() {
    out_ = "# Written by \"corvane-script dump\"; \"corvane-script compile\" makes the same container of it.\n";
    WriteSingleLines();
    for (const TListKey& key : ListKeys()) {
      if (WritesVerbatim(key.key)) {
        WriteList(key);
      }
    }
    if (structured_) {
      WriteScript();
      WriteBlockOrder();
    }
    return std::move(out_);
  }

private:
  bool HasParallelCommandLists() const {
    const std::size_t count = s_.commandNames.size();
    if (s_.commandGuids.size() != count || s_.disabledMarks.size() != count ||
        s_.mediaFolders.size() != count) {
      return false;
    }
    const std::set<std::string> distinct(s_.commandGuids.begin(), s_.commandGuids.end());
    return distinct.size() == count;
  }

  // A command's block starts at the first line equal to its GUID, as the
  // engine's lookup finds it, and runs to the next such start.
  void SplitParameterBlocks() {
    std::map<std::string_view, std::size_t> commandOfGuid;
    for (std::size_t i = 0; i < s_.commandGuids.size(); ++i) {
      commandOfGuid.emplace(s_.commandGuids[i], i);
    }
    std::vector<std::pair<std::size_t, std::size_t>> starts;  // line, command
    const std::vector<std::string>& lines = s_.parameterBlocks;
    for (std::size_t line = 0; line < lines.size(); ++line) {
      const auto found = commandOfGuid.find(lines[line]);
      if (found != commandOfGuid.end()) {
        starts.emplace_back(line, found->second);
        commandOfGuid.erase(found);
      }
    }
    if (!lines.empty() && (starts.empty() || starts.front().first != 0)) {
      rawBlocks_ = true;
      return;
    }
    blocks_.resize(s_.commandNames.size());
    for (std::size_t k = 0; k < starts.size(); ++k) {
      const std::size_t end = k + 1 < starts.size() ? starts[k + 1].first : lines.size();
      TCommandBlock& block = blocks_[starts[k].second];
      block.present = true;
      block.parameters.assign(lines.begin() + static_cast<std::ptrdiff_t>(starts[k].first + 1),
                              lines.begin() + static_cast<std::ptrdiff_t>(end));
      blockOrder_.push_back(starts[k].second);
    }
    if (!std::ranges::is_sorted(blockOrder_)) {
      writeBlockOrder_ = true;
    }
  }

  // Expressible as header= only when the pairs name commands in script order.
  void SplitHeaderTable() {
    const std::vector<std::string>& table = s_.headerTable;
    headers_.resize(s_.commandNames.size());
    if (table.size() % 2 != 0) {
      rawHeaders_ = true;
      return;
    }
    std::optional<std::size_t> previous;
    for (std::size_t k = 0; k < table.size(); k += 2) {
      const std::optional<std::size_t> index = CanonicalIndex(table[k + 1]);
      if (!index || *index >= headers_.size() || (previous && *index <= *previous)) {
        rawHeaders_ = true;
        return;
      }
      headers_[*index] = table[k];
      previous = index;
    }
  }

  bool WritesVerbatim(std::string_view key) const {
    if (key == kParameterBlocksKey) {
      return !structured_ || rawBlocks_;
    }
    if (key == kCommandHeadersKey) {
      return !structured_ || rawHeaders_;
    }
    if (key == kCommandNamesKey || key == kCommandGuidsKey || key == kDisabledMarksKey ||
        key == kMediaFoldersKey) {
      return !structured_;
    }
    return true;
  }

  void WriteSingleLines() {
    for (const TTextKey& key : TextKeys()) {
      const std::string& value = key.field(s_);
      out_ += std::string(key.key) + ":" + (value.empty() ? "" : " " + ValueText(value)) + "\n";
    }
    out_ += std::string(kMediaLayoutKey) + ": " + std::to_string(s_.mediaLayout) + "\n";
    out_ += std::string(kLanguagePromptKey) + ": " + (s_.languagePrompt ? "TRUE" : "FALSE") + "\n";
  }

  void WriteList(const TListKey& key) {
    const std::vector<std::string>& items = key.field(s_);
    if (items.empty()) {
      return;
    }
    out_ += "\n" + std::string(key.key) + ":\n";
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (key.group > 1 && i > 0 && i % key.group == 0) {
        out_ += "\n";  // pairs and triples set apart
      }
      out_ += std::string(kListIndent) + ValueText(items[i]) + "\n";
    }
  }

  void WriteScript() {
    out_ += "\n" + std::string(kScriptKey) + ":\n";
    for (std::size_t i = 0; i < s_.commandNames.size(); ++i) {
      out_ += std::string(kCommandIndent) + CommandLine(i) + "\n";
      if (!rawBlocks_) {
        for (const std::string& parameter : blocks_[i].parameters) {
          out_ += std::string(kParameterIndent) + ValueText(parameter) + "\n";
        }
      }
    }
  }

  std::string CommandLine(std::size_t i) const {
    std::vector<std::string> attributes;
    const std::string& mark = s_.disabledMarks[i];
    if (mark == kDisabledMark) {
      attributes.emplace_back("disabled");
    } else if (!mark.empty()) {
      attributes.push_back(AttributeText("mark", mark));
    }
    if (!rawHeaders_ && headers_[i]) {
      attributes.push_back(AttributeText("header", *headers_[i]));
    }
    if (!s_.mediaFolders[i].empty()) {
      attributes.push_back(AttributeText("media", s_.mediaFolders[i]));
    }
    const std::string& guid = s_.commandGuids[i];
    if (!IsUpperCaseGuid(guid)) {
      attributes.push_back(AttributeText("guid", guid));
    }
    if (!rawBlocks_ && blocks_[i].present && blocks_[i].parameters.empty()) {
      attributes.emplace_back("empty-block");
    }
    std::string line = NameText(s_.commandNames[i]);
    if (!attributes.empty()) {
      line += " [";
      for (std::size_t k = 0; k < attributes.size(); ++k) {
        line += (k > 0 ? " " : "") + attributes[k];
      }
      line += "]";
    }
    if (IsUpperCaseGuid(guid)) {
      line += " " + guid;
    }
    return line;
  }

  void WriteBlockOrder() {
    if (!writeBlockOrder_) {
      return;
    }
    out_ += "\n# The parameter blocks are stored in this order, not in script order.\n";
    out_ += std::string(kBlockOrderKey) + ":\n";
    for (std::size_t command : blockOrder_) {
      out_ += std::string(kListIndent) + ValueText(s_.commandGuids[command]) + "\n";
    }
  }

  TContainerSections s_;  // a copy: the section accessors are not const
  bool structured_;
  bool rawBlocks_ = false;
  bool rawHeaders_ = false;
  bool writeBlockOrder_ = false;
  std::vector<TCommandBlock> blocks_;
  std::vector<std::size_t> blockOrder_;
  std::vector<std::optional<std::string>> headers_;
  std::string out_;
};

}  // namespace

std::string WriteSource(const TContainerSections& sections) { return TSourceWriter(sections).Write(); }

}  // namespace corvane::authoring
