#include "platform/media/windows_media_files.h"

#include <windows.h>
#include <shlobj.h>

#include <limits>

#include "platform/launcher/folder_tree.h"
#include "platform/system_library.h"

namespace corvane {
namespace {

class TFileHandle {
public:
  explicit TFileHandle(HANDLE handle) : handle_(handle) {}
  ~TFileHandle() {
    if (Valid()) CloseHandle(handle_);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;

  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  // Closing can be the moment a write fails.
  bool Close() {
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

private:
  HANDLE handle_;
};

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteAll(HANDLE file, std::string_view data) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size(), 1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
    data.remove_prefix(written);
  }
  return true;
}

void CollectFiles(const std::string& folder, std::vector<std::string>& files) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    // A link to a folder is not followed: what it points to is not ours.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) CollectFiles(folder + name + "\\", files);
    } else {
      files.push_back(folder + name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

std::string TWindowsMediaFiles::TemporaryFolder() {
  std::string folder(MAX_PATH + 1, '\0');
  folder.resize(GetTempPathA(static_cast<DWORD>(folder.size()), folder.data()));
  return WithTrailingBackslash(folder);
}

bool TWindowsMediaFiles::CreateFolders(const std::string& folder) {
  if (folder.empty()) return false;
  SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
  return IsFolder(folder);
}

bool TWindowsMediaFiles::FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void TWindowsMediaFiles::RemoveFile(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

bool TWindowsMediaFiles::Move(const std::string& from, const std::string& to) {
  return ::MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool TWindowsMediaFiles::Copy(const std::string& from, const std::string& to) {
  return ::CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::optional<std::string> TWindowsMediaFiles::Read(const std::string& path) {
  TFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file.Valid() || !GetFileSizeEx(file.Get(), &size) ||
      static_cast<unsigned long long>(size.QuadPart) > std::numeric_limits<std::size_t>::max() / 2) {
    return std::nullopt;
  }
  std::string content(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t done = 0;
  while (done < content.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(file.Get(), content.data() + done, chunk, &read, nullptr) || read == 0) return std::nullopt;
    done += read;
  }
  return content;
}

bool TWindowsMediaFiles::Write(const std::string& path, const std::vector<std::string_view>& parts) {
  TFileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  for (std::string_view part : parts) {
    if (!WriteAll(file.Get(), part)) return false;
  }
  return file.Close();
}

std::vector<std::string> TWindowsMediaFiles::FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  CollectFiles(WithTrailingBackslash(folder), files);
  return files;
}

void TWindowsMediaFiles::DeleteFolderTree(const std::string& folder) { corvane::DeleteFolderTree(folder); }

}  // namespace corvane
