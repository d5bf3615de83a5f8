#include "media/kel/windows_text.h"

#include <windows.h>

#include <climits>

#include "media/kel/kel_api.h"
#include "media/kel/kel_failure.h"

namespace corvane::kel {
namespace {

int CheckedLength(size_t size) {
  if (size > INT_MAX) throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
  return static_cast<int>(size);
}

}  // namespace

std::wstring WideFromAnsi(std::string_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), needed);
  return wide;
}

std::string AnsiFromWide(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = CheckedLength(text.size());
  const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, ansi.data(), needed, nullptr, nullptr);
  return ansi;
}

}  // namespace corvane::kel
