#include "platform/media/codec_deployment_host.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace corvane {
namespace {

int CsidlOf(TShellFolder kind) {
  switch (kind) {
    case TShellFolder::LocalAppData:
      return CSIDL_LOCAL_APPDATA;
    case TShellFolder::AppData:
      return CSIDL_APPDATA;
    case TShellFolder::Desktop:
      return CSIDL_DESKTOP;
  }
  return CSIDL_DESKTOP;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WriteAll(HANDLE file, const BYTE* data, DWORD size) {
  while (size > 0) {
    DWORD written = 0;
    if (!WriteFile(file, data, size, &written, nullptr) || written == 0) return false;
    data += written;
    size -= written;
  }
  return true;
}

// Every start deploys; a library already in place, byte for byte, is left
// alone, so a setup still running from it is not disturbed.
bool HoldsExactly(const std::string& path, const BYTE* data, DWORD size) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER length{};
  bool same = GetFileSizeEx(file, &length) && length.QuadPart == size;
  std::vector<BYTE> chunk(same ? 1 << 16 : 0);
  for (DWORD done = 0; same && done < size;) {
    DWORD got = 0;
    const DWORD want = std::min<DWORD>(size - done, static_cast<DWORD>(chunk.size()));
    same = ReadFile(file, chunk.data(), want, &got, nullptr) && got == want &&
           std::memcmp(chunk.data(), data + done, got) == 0;
    done += got;
  }
  CloseHandle(file);
  return same;
}

}  // namespace

std::string TWinCodecDeploymentHost::ShellFolder(TShellFolder kind) {
  std::string folder(MAX_PATH, '\0');  // the size the call requires
  if (SHGetFolderPathA(nullptr, CsidlOf(kind), nullptr, SHGFP_TYPE_CURRENT, folder.data()) != S_OK) return {};
  folder.resize(folder.find('\0'));
  return folder;
}

bool TWinCodecDeploymentHost::CreateFolderTree(const std::string& folder) {
  SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
  return IsFolder(folder);
}

bool TWinCodecDeploymentHost::WriteResource(std::string_view resource, const std::string& path) {
  const std::string name(resource);
  const HRSRC found = FindResourceA(nullptr, name.c_str(), RT_RCDATA);
  const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
  const auto* data = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
  if (!data) return false;
  const DWORD size = SizeofResource(nullptr, found);
  if (HoldsExactly(path, data, size)) return true;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
  const HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteAll(file, data, size);
  const bool closed = CloseHandle(file);
  if (written && closed) return true;
  // A cut-off library must not pass for a deployed one.
  DeleteFileA(path.c_str());
  return false;
}

void TWinCodecDeploymentHost::StoreCodecFolder(const std::string& folder) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Tessaly\\Corvane\\Seven Zip", 0, nullptr, 0, KEY_WRITE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
  RegCloseKey(key);
}

void DeploySevenZipCodecsAtStart() {
  TWinCodecDeploymentHost host;
  DeploySevenZipCodecs(host);
}

}  // namespace corvane
