// Pieces of the script source format shared by the compiler and the dumper.
#pragma once

#include "launcher/script_container.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::authoring {

inline constexpr char kDelimiter = '|';
inline constexpr char kComment = '#';
inline constexpr std::string_view kDisabledMark = "C";
inline constexpr std::string_view kScriptKey = "script";
inline constexpr std::string_view kBlockOrderKey = "block-order";
inline constexpr std::string_view kMediaLayoutKey = "media-layout";
inline constexpr std::string_view kLanguagePromptKey = "language-prompt";

// A single-line section (or support line) and its key in the source.
struct TTextKey {
  std::string_view key;
  std::string& (*field)(TContainerSections&);
};

// A list section and its key. The script body normally yields the command
// lists; their keys take a list verbatim where the body cannot express it.
struct TListKey {
  std::string_view key;
  std::vector<std::string>& (*field)(TContainerSections&);
  std::size_t group;  // items per entry: 2 for pairs, 3 for triples
};

const std::vector<TTextKey>& TextKeys();
const std::vector<TListKey>& ListKeys();
const TListKey* FindListKey(std::string_view key);

inline constexpr std::string_view kCommandNamesKey = "command-names";
inline constexpr std::string_view kCommandGuidsKey = "command-guids";
inline constexpr std::string_view kParameterBlocksKey = "parameter-blocks";
inline constexpr std::string_view kDisabledMarksKey = "disabled-marks";
inline constexpr std::string_view kMediaFoldersKey = "media-folders";
inline constexpr std::string_view kCommandHeadersKey = "command-headers";

// Space, tab and the other blanks an editor may add or drop unseen.
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);
std::string_view TrimTrailingBlanks(std::string_view text);

// "|text|", each "|" inside written twice; keeps any text exactly.
std::string Delimited(std::string_view text);
// Reads a delimited text that starts at line[pos]; pos moves past it.
// Empty when the closing "|" is missing.
std::optional<std::string> ReadDelimited(std::string_view line, std::size_t& pos);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hexadecimal digits.
bool IsUpperCaseGuid(std::string_view text);

}  // namespace corvane::authoring
