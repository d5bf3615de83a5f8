#include "actions/path_text.h"

namespace corvane {
namespace {

constexpr std::string_view kSeparators = "\\:";
constexpr std::string_view kWildcards = "*?";

std::size_t NameStart(std::string_view path) {
  const std::size_t last = path.find_last_of(kSeparators);
  return last == std::string_view::npos ? 0 : last + 1;
}

std::string_view StemPart(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  return name.substr(0, name.size() - ExtensionPart(path).size());
}

std::string_view ExtensionWithoutDot(std::string_view path) {
  const std::string_view extension = ExtensionPart(path);
  return extension.empty() ? extension : extension.substr(1);
}

std::string CollapseBackslashPairs(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') {
      ++i;
    }
  }
  return result;
}

// Where the lookup of components starts: "", "\", "C:", "C:\" or "\\host\share\".
bool IsPathRoot(std::string_view folder) { return WithoutTrailingBackslash(folder) == DrivePart(folder); }

}  // namespace

std::string_view FileNamePart(std::string_view path) { return path.substr(NameStart(path)); }

std::string_view ExtensionPart(std::string_view path) {
  const std::string_view name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view FolderPart(std::string_view path) { return path.substr(0, NameStart(path)); }

std::string_view DrivePart(std::string_view path) {
  if (path.size() >= 2 && path[1] == ':') {
    return path.substr(0, 2);
  }
  if (!path.starts_with("\\\\")) {
    return {};
  }
  const std::size_t hostEnd = path.find('\\', 2);
  if (hostEnd == std::string_view::npos) {
    return path;
  }
  return path.substr(0, path.find('\\', hostEnd + 1));
}

std::string WithTrailingBackslash(std::string_view text) {
  std::string result(text);
  if (!result.empty() && !result.ends_with('\\')) {
    result += '\\';
  }
  return result;
}

std::string_view WithoutTrailingBackslash(std::string_view text) {
  return text.ends_with('\\') ? text.substr(0, text.size() - 1) : text;
}

std::string ExtractPathPart(std::string_view path, int code) {
  switch (code) {
    case 0:
      return std::string(FileNamePart(path));
    case 1:
      return std::string(StemPart(path));
    case 2:
      return std::string(ExtensionWithoutDot(path));
    case 3:
      return WithTrailingBackslash(FolderPart(path));
    case 4:
      return WithTrailingBackslash(FolderPart(WithoutTrailingBackslash(FolderPart(path))));
    case 5:
      return WithTrailingBackslash(DrivePart(path));
    case 6:
      return CollapseBackslashPairs(path);
    default:
      return std::string(path);
  }
}

std::string LongPathForm(std::string_view path, const TEntryNameLookup& entryName) {
  const std::string_view text = WithoutTrailingBackslash(path);
  const std::string_view folder = FolderPart(text);
  if (text == folder || text == DrivePart(text)) {
    return std::string(text);
  }
  if (text.find_first_of(kWildcards) != std::string_view::npos) {
    return {};
  }
  std::string prefix(folder);
  if (!IsPathRoot(folder)) {
    const std::string parent = LongPathForm(folder, entryName);
    if (parent.empty()) {
      return {};
    }
    prefix = parent + '\\';
  }
  const std::optional<std::string> name = entryName(std::string(text));
  return name ? prefix + *name : std::string();
}

}  // namespace corvane
