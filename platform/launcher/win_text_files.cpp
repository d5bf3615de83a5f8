#include "platform/launcher/win_text_files.h"

#include <windows.h>

#include <algorithm>
#include <memory>

namespace corvane {
namespace {

struct TFileCloser {
  void operator()(HANDLE file) const { CloseHandle(file); }
};

struct TSearchCloser {
  void operator()(HANDLE search) const { FindClose(search); }
};

}  // namespace

std::optional<std::string> ReadWholeFileAt(const std::string& path) {
  HANDLE raw = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
  std::unique_ptr<void, TFileCloser> file(raw);
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(raw, &size)) return std::nullopt;
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(raw, content.data() + done, chunk, &got, nullptr) || got == 0) return std::nullopt;
    done += got;
  }
  return content;
}

bool IsExistingFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<TFileStamp> TWinTextFiles::Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return std::nullopt;
  }
  const auto join = [](DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; };
  return TFileStamp{join(data.nFileSizeHigh, data.nFileSizeLow),
                    join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
}

std::vector<std::string> TWinTextFiles::FileNames(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE raw = FindFirstFileA((folder + "*").c_str(), &found);
  if (raw == INVALID_HANDLE_VALUE) return names;
  std::unique_ptr<void, TSearchCloser> search(raw);
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(found.cFileName);
  } while (FindNextFileA(raw, &found));
  return names;
}

}  // namespace corvane
