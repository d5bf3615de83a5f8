#include "launcher/script_container.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <utility>

namespace corvane {
namespace {

constexpr std::string_view kListEnd = "$";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kPromptOn = "TRUE";
constexpr std::string_view kPromptOff = "FALSE";
constexpr std::string_view kDisabledMark = "C";

const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}

std::string SectionLabel(int number, std::string_view name) {
  return "section " + std::to_string(number) + " (" + std::string(name) + ")";
}

TContainerError Damaged(int number, std::string_view name, std::string_view problem) {
  return TContainerError("The script container is damaged: " + SectionLabel(number, name) + " " +
                         std::string(problem) + ".");
}

// Splits container text into lines. The build tool ends lines with CR LF; a
// lone LF is accepted as well, since a container edited on another system may
// carry one. A last line without a line ending still counts, and a CR that
// ends the text is a line ending cut short.
class TLineReader {
public:
  explicit TLineReader(std::string_view text) : text_(text) {}

  std::optional<std::string_view> Next() {
    if (position_ >= text_.size()) {
      return std::nullopt;
    }
    const std::size_t newline = text_.find('\n', position_);
    const std::size_t stop = newline == std::string_view::npos ? text_.size() : newline;
    std::string_view line = text_.substr(position_, stop - position_);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    position_ = newline == std::string_view::npos ? text_.size() : newline + 1;
    return line;
  }

  std::vector<std::string> List(int number, std::string_view name) {
    std::vector<std::string> items;
    for (;;) {
      const std::optional<std::string_view> line = Next();
      if (!line) {
        throw Damaged(number, name, "ends before its closing \"$\" line");
      }
      if (*line == kListEnd) {
        return items;
      }
      items.emplace_back(*line);
    }
  }

  std::string Line(int number, std::string_view name) {
    const std::optional<std::string_view> line = Next();
    if (!line) {
      throw Damaged(number, name, "is missing");
    }
    return std::string(*line);
  }

private:
  std::string_view text_;
  std::size_t position_ = 0;
};

int ParseMediaLayout(std::string_view text) {
  const std::optional<int> value = ParseDecimalInteger(text);
  if (!value) {
    throw Damaged(10, "media layout", "is not a decimal integer: \"" + std::string(text) + "\"");
  }
  return *value;
}

// Parse takes one CR before each LF as part of the line ending, so any line
// survives a round trip except one holding an LF.
void CheckLine(const std::string& line, int number, std::string_view name) {
  if (line.find('\n') != std::string::npos) {
    throw Damaged(number, name, "holds a line break inside a line");
  }
}

void WriteLine(std::string& out, const std::string& line, int number, std::string_view name) {
  CheckLine(line, number, name);
  out += line;
  out += kLineEnd;
}

void WriteList(std::string& out, const std::vector<std::string>& items, int number,
               std::string_view name) {
  for (const std::string& item : items) {
    if (item == kListEnd) {
      throw Damaged(number, name, "holds an item \"$\", which would end the list");
    }
    WriteLine(out, item, number, name);
  }
  out += kListEnd;
  out += kLineEnd;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

// First position of each distinct line: what a scan from the top finds first.
std::unordered_map<std::string, std::size_t> FirstPositions(const std::vector<std::string>& lines) {
  std::unordered_map<std::string, std::size_t> first;
  first.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    first.try_emplace(lines[i], i);
  }
  return first;
}

const std::string& At(const std::vector<std::string>& list, std::size_t index) {
  return index < list.size() ? list[index] : EmptyText();
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(ReadU16(bytes, offset)) |
         (static_cast<std::uint32_t>(ReadU16(bytes, offset + 2)) << 16);
}

}  // namespace

std::optional<int> ParseDecimalInteger(std::string_view text) {
  std::string_view digits = text;
  const bool negative = digits.starts_with('-');
  if (negative || digits.starts_with('+')) {
    digits.remove_prefix(1);
  }
  if (digits.empty() || !std::ranges::all_of(digits, [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  long long value = 0;
  if (std::from_chars(digits.data(), digits.data() + digits.size(), value).ec != std::errc()) {
    return std::nullopt;
  }
  value = negative ? -value : value;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  return static_cast<int>(value);
}

TScriptContainer::TScriptContainer(TContainerSections sections) : sections_(std::move(sections)) {
  BuildIndexes();
}

TScriptContainer TScriptContainer::Parse(std::string_view bytes) {
  TLineReader reader(bytes);
  TContainerSections s;
  s.commandNames = reader.List(1, "command names");
  s.commandGuids = reader.List(2, "command GUIDs");
  s.parameterBlocks = reader.List(3, "parameter blocks");
  s.disabledMarks = reader.List(4, "disabled marks");
  s.productCode = reader.Line(5, "product code");
  s.title = reader.Line(6, "product title");
  s.pluginCommands = reader.List(7, "plug-in commands");
  s.support.publisher = reader.Line(8, "support information: publisher");
  s.support.contact = reader.Line(8, "support information: contact");
  s.support.helpLink = reader.Line(8, "support information: help link");
  s.support.updateInfoLink = reader.Line(8, "support information: update information link");
  s.support.comments = reader.Line(8, "support information: comments");
  s.mediaFolders = reader.List(9, "media folders");
  s.mediaLayout = ParseMediaLayout(reader.Line(10, "media layout"));
  s.componentSizes = reader.List(11, "component sizes");
  s.revisionCode = reader.Line(12, "revision code");
  s.mediaFileMap = reader.List(13, "media file map");
  s.languagePrompt = reader.Line(14, "language prompt") == kPromptOn;
  s.defaultLanguage = reader.Line(15, "default language");
  s.headerTable = reader.List(16, "command headers");
  return TScriptContainer(std::move(s));
}

std::string TScriptContainer::Serialize() const {
  const TContainerSections& s = sections_;
  std::string out;
  WriteList(out, s.commandNames, 1, "command names");
  WriteList(out, s.commandGuids, 2, "command GUIDs");
  WriteList(out, s.parameterBlocks, 3, "parameter blocks");
  WriteList(out, s.disabledMarks, 4, "disabled marks");
  WriteLine(out, s.productCode, 5, "product code");
  WriteLine(out, s.title, 6, "product title");
  WriteList(out, s.pluginCommands, 7, "plug-in commands");
  for (const std::string* line : {&s.support.publisher, &s.support.contact, &s.support.helpLink,
                                  &s.support.updateInfoLink, &s.support.comments}) {
    WriteLine(out, *line, 8, "support information");
  }
  WriteList(out, s.mediaFolders, 9, "media folders");
  WriteLine(out, std::to_string(s.mediaLayout), 10, "media layout");
  WriteList(out, s.componentSizes, 11, "component sizes");
  WriteLine(out, s.revisionCode, 12, "revision code");
  WriteList(out, s.mediaFileMap, 13, "media file map");
  WriteLine(out, std::string(s.languagePrompt ? kPromptOn : kPromptOff), 14, "language prompt");
  WriteLine(out, s.defaultLanguage, 15, "default language");
  WriteList(out, s.headerTable, 16, "command headers");
  return out;
}

const std::string& TScriptContainer::Name(std::size_t index) const {
  return At(sections_.commandNames, index);
}

const std::string& TScriptContainer::Guid(std::size_t index) const {
  return At(sections_.commandGuids, index);
}

bool TScriptContainer::Disabled(std::size_t index) const {
  return At(sections_.disabledMarks, index) == kDisabledMark;
}

const std::string& TScriptContainer::MediaFolder(std::size_t index) const {
  return At(sections_.mediaFolders, index);
}

std::string TScriptContainer::Parameter(std::string_view guid, std::size_t n) const {
  // An empty key would match the first empty parameter line of some other
  // block; no command owns a block under an empty GUID.
  if (guid.empty()) {
    return {};
  }
  const auto found = firstGuidLine_.find(std::string(guid));
  if (found == firstGuidLine_.end()) {
    return {};
  }
  const std::vector<std::string>& lines = sections_.parameterBlocks;
  const std::size_t remaining = lines.size() - found->second;
  return n < remaining ? lines[found->second + n] : std::string();
}

std::string TScriptContainer::CommandHeader(std::size_t index) const {
  // Decimal text has no letter case, so an exact match is the same as the
  // case-insensitive one. A match on the first line has no header before it.
  const auto found = headerLineForIndex_.find(std::to_string(index));
  if (found == headerLineForIndex_.end() || found->second == 0) {
    return {};
  }
  return sections_.headerTable[found->second - 1];
}

bool TScriptContainer::IsPluginCommand(std::string_view name) const {
  return std::ranges::any_of(sections_.pluginCommands,
                             [&](const std::string& plugin) { return EqualIgnoringCase(plugin, name); });
}

void TScriptContainer::BuildIndexes() {
  firstGuidLine_ = FirstPositions(sections_.parameterBlocks);
  headerLineForIndex_ = FirstPositions(sections_.headerTable);
}

std::optional<std::size_t> FindImageEnd(std::span<const std::uint8_t> file) {
  constexpr std::size_t kPeOffsetField = 0x3C;
  constexpr std::size_t kSignatureSize = 4;
  constexpr std::size_t kFileHeaderSize = 20;
  constexpr std::size_t kSectionHeaderSize = 40;
  constexpr std::size_t kRawSizeField = 16;
  constexpr std::size_t kRawPointerField = 20;

  if (file.size() < kPeOffsetField + 4 || file[0] != 'M' || file[1] != 'Z') {
    return std::nullopt;
  }
  const std::size_t signature = ReadU32(file, kPeOffsetField);
  if (signature > file.size() || file.size() - signature < kSignatureSize + kFileHeaderSize) {
    return std::nullopt;
  }
  if (file[signature] != 'P' || file[signature + 1] != 'E' || file[signature + 2] != 0 ||
      file[signature + 3] != 0) {
    return std::nullopt;
  }
  const std::size_t fileHeader = signature + kSignatureSize;
  const std::size_t sectionCount = ReadU16(file, fileHeader + 2);
  const std::size_t optionalHeaderSize = ReadU16(file, fileHeader + 16);
  const std::size_t sectionTable = fileHeader + kFileHeaderSize + optionalHeaderSize;
  const std::size_t tableEnd = sectionTable + sectionCount * kSectionHeaderSize;
  if (tableEnd > file.size()) {
    return std::nullopt;
  }
  // The headers themselves belong to the image even when no section follows.
  std::uint64_t end = tableEnd;
  for (std::size_t i = 0; i < sectionCount; ++i) {
    const std::size_t header = sectionTable + i * kSectionHeaderSize;
    const std::uint64_t rawEnd = std::uint64_t{ReadU32(file, header + kRawPointerField)} +
                                 ReadU32(file, header + kRawSizeField);
    end = std::max(end, rawEnd);
  }
  // Raw data past the end of the file: a truncated file, not a usable image.
  if (end > file.size()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(end);
}

namespace {

// The attribute certificate table (a code signature) as the optional header
// records it: a file offset and a size, not an address, and where that entry
// sits. Empty when there is none or the header is too short to say.
struct TCertificateTable {
  std::size_t entry;
  std::size_t offset;
  std::size_t size;
};

std::optional<TCertificateTable> CertificateTable(std::span<const std::uint8_t> file) {
  constexpr std::size_t kPeOffsetField = 0x3C;
  constexpr std::uint16_t kPe32 = 0x10B;
  constexpr std::uint16_t kPe32Plus = 0x20B;
  constexpr std::size_t kCertificateEntry = 4;
  const std::size_t optionalHeader = ReadU32(file, kPeOffsetField) + 4 + 20;
  const std::size_t optionalHeaderSize = ReadU16(file, optionalHeader - 20 + 16);
  if (optionalHeaderSize < 2) return std::nullopt;
  const std::uint16_t magic = ReadU16(file, optionalHeader);
  if (magic != kPe32 && magic != kPe32Plus) return std::nullopt;
  const std::size_t countField = optionalHeader + (magic == kPe32 ? 92 : 108);
  const std::size_t entry = countField + 4 + kCertificateEntry * 8;
  if (entry + 8 > optionalHeader + optionalHeaderSize || ReadU32(file, countField) <= kCertificateEntry) {
    return std::nullopt;
  }
  const std::size_t offset = ReadU32(file, entry);
  const std::size_t size = ReadU32(file, entry + 4);
  if (size == 0 || offset > file.size() || size > file.size() - offset) return std::nullopt;
  return TCertificateTable{entry, offset, size};
}

}  // namespace

std::optional<std::string_view> AppendedData(std::span<const std::uint8_t> file) {
  const std::optional<std::size_t> end = FindImageEnd(file);
  if (!end) {
    return std::nullopt;
  }
  std::size_t begin = *end;
  std::size_t finish = file.size();
  // Signing puts the signature after everything else; a file signed before
  // anything was appended carries it right at the image end. Either way it
  // is not the appended data.
  if (const auto certificate = CertificateTable(file); certificate && certificate->offset >= begin) {
    if (certificate->offset + certificate->size == finish) {
      finish = certificate->offset;
    } else if (certificate->offset == begin) {
      begin = certificate->offset + certificate->size;
    }
  }
  return std::string_view(reinterpret_cast<const char*>(file.data()) + begin, finish - begin);
}

std::optional<std::string> ImageWithoutAppendedData(std::string_view file) {
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
  const std::optional<std::size_t> end = FindImageEnd(bytes);
  if (!end) {
    return std::nullopt;
  }
  std::string image(file.substr(0, *end));
  // A signature lay beyond the image and is gone: its entry would point past
  // the end of the file, which signing tools refuse.
  if (const auto certificate = CertificateTable(bytes); certificate && certificate->offset >= *end) {
    std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(certificate->entry), 8, '\0');
  }
  return image;
}

}  // namespace corvane
