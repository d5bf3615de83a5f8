// The compiled script appended to the engine executable: sixteen sections of
// CR LF text, lists closed by a "$" line. Read once at start-up, then read-only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

class TContainerError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct TSupportInfo {
  std::string publisher, contact, helpLink, updateInfoLink, comments;
};

// The sections in file order. Parallel lists share one index per script line.
struct TContainerSections {
  std::vector<std::string> commandNames;     // 1
  std::vector<std::string> commandGuids;     // 2
  std::vector<std::string> parameterBlocks;  // 3: GUID line, then its parameter lines
  std::vector<std::string> disabledMarks;    // 4: "C" = disabled
  std::string productCode;                   // 5
  std::string title;                         // 6
  std::vector<std::string> pluginCommands;   // 7
  TSupportInfo support;                      // 8
  std::vector<std::string> mediaFolders;     // 9
  int mediaLayout = 0;                       // 10
  std::vector<std::string> componentSizes;   // 11: name, size pairs
  std::string revisionCode;                  // 12
  std::vector<std::string> mediaFileMap;     // 13: block, item path, destination triples
  bool languagePrompt = false;               // 14
  std::string defaultLanguage;               // 15
  std::vector<std::string> headerTable;      // 16: header, decimal index pairs
};

class TScriptContainer {
public:
  TScriptContainer() = default;
  explicit TScriptContainer(TContainerSections sections);

  // Parses container bytes; a malformed container throws TContainerError.
  // Lines end with CR LF or a lone LF; bytes after section 16 are ignored.
  static TScriptContainer Parse(std::string_view bytes);
  // The exact bytes Parse reads back (used by the authoring tool): CR LF line
  // ends. Throws TContainerError for a line holding an LF or a list item "$".
  std::string Serialize() const;

  const TContainerSections& Sections() const { return sections_; }

  std::size_t CommandCount() const { return sections_.commandNames.size(); }
  // Out-of-range indexes (a short parallel list) read as empty text.
  const std::string& Name(std::size_t index) const;
  const std::string& Guid(std::size_t index) const;
  bool Disabled(std::size_t index) const;
  const std::string& MediaFolder(std::size_t index) const;

  // The line N places below the first parameter-block line equal to guid;
  // N = 0 is the GUID line itself; no such line, an empty guid, or past the
  // end of the list: empty. Block boundaries are not known: a large N reads
  // into whatever follows.
  std::string Parameter(std::string_view guid, std::size_t n) const;
  // The line before the first header-table line equal to the index in decimal;
  // empty when there is none or the match is the table's first line.
  std::string CommandHeader(std::size_t index) const;
  bool IsPluginCommand(std::string_view name) const;  // case-insensitive

private:
  void BuildIndexes();

  TContainerSections sections_;
  // Line text -> its first position, standing in for the scans from the top.
  std::unordered_map<std::string, std::size_t> firstGuidLine_;
  std::unordered_map<std::string, std::size_t> headerLineForIndex_;
};

// Section 10's reading: an optional sign and decimal digits that fit an int.
std::optional<int> ParseDecimalInteger(std::string_view text);

// Where the image of a PE file ends: the largest raw-data end over its
// section headers. Empty when the bytes are not a PE file, or one cut short.
std::optional<std::size_t> FindImageEnd(std::span<const std::uint8_t> file);
// The bytes after the image end, less a code signature that begins right at
// the image end or ends at the end of the file (empty view: nothing appended).
std::optional<std::string_view> AppendedData(std::span<const std::uint8_t> file);
// The image alone, to append a script to: without whatever followed it (a
// script, a symbol table, a code signature, whose header entry is cleared).
// Empty when the bytes are not a PE file, or one cut short.
std::optional<std::string> ImageWithoutAppendedData(std::string_view file);

}  // namespace corvane
