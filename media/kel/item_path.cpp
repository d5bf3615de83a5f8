#include "media/kel/item_path.h"

#include <algorithm>
#include <array>

namespace corvane::kel {
namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// ':' covers drives and alternate data streams; '?' and '*' also the
// "\\?\" and "\\.\" prefixes.
bool IsForbiddenCharacter(wchar_t c) {
  return c < 0x20 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos;
}

std::wstring UpperAscii(std::wstring_view text) {
  std::wstring upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](wchar_t c) { return c >= L'a' && c <= L'z' ? wchar_t(c - L'a' + L'A') : c; });
  return upper;
}

// Windows opens these as devices whatever the folder and extension.
bool IsDeviceName(std::wstring_view part) {
  std::wstring_view base = part.substr(0, part.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  const std::wstring name = UpperAscii(base);
  static constexpr std::array<std::wstring_view, 6> kDevices = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  if (std::find(kDevices.begin(), kDevices.end(), name) != kDevices.end()) return true;
  const bool numbered = name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT"));
  return numbered && name[3] >= L'1' && name[3] <= L'9';
}

bool IsSafePart(std::wstring_view part) {
  if (part.empty()) return false;
  if (std::any_of(part.begin(), part.end(), IsForbiddenCharacter)) return false;
  // Windows drops trailing dots and spaces, so "..." or ".. " would mean "..".
  if (part.back() == L'.' || part.back() == L' ') return false;
  return !IsDeviceName(part);
}

}  // namespace

std::optional<std::vector<std::wstring>> SplitSafeItemPath(std::wstring_view path) {
  if (path.empty() || IsSeparator(path.front())) return std::nullopt;
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::wstring_view part = path.substr(start, end - start);
    if (!IsSafePart(part)) return std::nullopt;
    parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

}  // namespace corvane::kel
