#include "platform/actions/windows_system_queries.h"

#include <windows.h>

#include "platform/file_version_resource.h"

#include <vector>

namespace corvane {
namespace {

// Closes a FindFirstFileA search.
class TFindHandle {
public:
  explicit TFindHandle(HANDLE handle) : handle_(handle) {}
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;
  ~TFindHandle() {
    if (Valid()) {
      FindClose(handle_);
    }
  }
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
  HANDLE handle_;
};

// For the calls that answer the length they need, terminating zero included,
// when the buffer is too small, and the length written, without it, when not;
// 0 is a failure and gives empty text.
template <typename TCall>
std::string GrowingCall(TCall call) {
  std::string buffer;
  DWORD length = call(nullptr, 0);
  while (length > buffer.size()) {
    buffer.assign(length, '\0');
    length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
  }
  buffer.resize(length);
  return buffer;
}

}  // namespace

std::string TWindowsSystemQueries::Upper(std::string_view text) const {
  std::string result(text);
  if (!result.empty()) {
    CharUpperBuffA(result.data(), static_cast<DWORD>(result.size()));
  }
  return result;
}

std::string TWindowsSystemQueries::Lower(std::string_view text) const {
  std::string result(text);
  if (!result.empty()) {
    CharLowerBuffA(result.data(), static_cast<DWORD>(result.size()));
  }
  return result;
}

std::optional<TFileVersion> TWindowsSystemQueries::FileVersion(const std::string& path) const {
  return ReadFileVersionResource(path);
}

std::string TWindowsSystemQueries::ShortPath(const std::string& path) const {
  if (path.empty()) {
    return {};
  }
  return GrowingCall([&path](char* buffer, DWORD size) { return GetShortPathNameA(path.c_str(), buffer, size); });
}

std::optional<std::string> TWindowsSystemQueries::EntryName(const std::string& path) const {
  if (path.empty()) {
    return std::nullopt;
  }
  WIN32_FIND_DATAA entry{};
  const TFindHandle search(FindFirstFileA(path.c_str(), &entry));
  if (!search.Valid()) {
    return std::nullopt;
  }
  return std::string(entry.cFileName);
}

std::string TWindowsSystemQueries::ExpandEnvironment(const std::string& text) const {
  // Unlike the path calls, this one counts the terminating zero on success too.
  std::string expanded;
  DWORD needed = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
  while (needed > expanded.size()) {
    expanded.assign(needed, '\0');
    needed = ExpandEnvironmentStringsA(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
  }
  if (needed == 0) {
    return text;
  }
  expanded.resize(needed - 1);
  return expanded;
}

std::string TWindowsSystemQueries::TemporaryFolder() const {
  std::string folder = GrowingCall([](char* buffer, DWORD size) { return GetTempPathA(size, buffer); });
  if (!folder.empty() && folder.back() != '\\') {
    folder += '\\';
  }
  return folder;
}

std::optional<std::string> TWindowsSystemQueries::CreateTemporaryFile(const std::string& folder,
                                                                      const std::string& prefix) const {
  // The call writes up to MAX_PATH characters and takes no buffer size.
  std::string path(MAX_PATH, '\0');
  if (GetTempFileNameA(folder.c_str(), prefix.c_str(), 0, path.data()) == 0) {
    return std::nullopt;
  }
  path.resize(path.find('\0'));
  return path;
}

}  // namespace corvane
