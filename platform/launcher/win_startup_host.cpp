#include "platform/launcher/win_startup_host.h"

#include <windows.h>

#include "platform/launcher/folder_tree.h"
#include "platform/file_version_resource.h"
#include "platform/launcher/preparation_windows.h"
#include "platform/launcher/win_text_files.h"
#include "platform/system_library.h"

namespace corvane {

TFileVersion TWinStartupHost::EngineVersion() { return ReadFileVersionResource(EnginePath()).value_or(TFileVersion{}); }

void TWinStartupHost::RestrictToFirstProcessor() {
  using TSetAffinity = BOOL(WINAPI*)(HANDLE, DWORD_PTR);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto setAffinity =
      reinterpret_cast<TSetAffinity>(reinterpret_cast<void*>(GetProcAddress(kernel, "SetProcessAffinityMask")));
  if (setAffinity) setAffinity(GetCurrentProcess(), 1);
}

std::string TWinStartupHost::EnginePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD got = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (got < path.size()) {
      path.resize(got);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string TWinStartupHost::TemporaryFolder() {
  std::string folder(MAX_PATH + 1, '\0');
  folder.resize(GetTempPathA(static_cast<DWORD>(folder.size()), folder.data()));
  folder = WithTrailingBackslash(folder);
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::vector<std::string> TWinStartupHost::Arguments() {
  std::vector<std::string> arguments;
  for (int i = 1; i < __argc; ++i) arguments.emplace_back(__argv[i]);
  return arguments;
}

std::string TWinStartupHost::RawCommandLine() { return GetCommandLineA(); }

std::optional<TFileVersion> TWinStartupHost::CommonControlsVersion() {
  return ReadFileVersionResource(SystemFolder() + "comctl32.dll");
}

std::unique_ptr<TPreparationWindows> TWinStartupHost::ShowPreparation(const std::string& splashPicture,
                                                                      const TMessageTable& messages) {
  return ShowPreparationWindows(splashPicture, messages, &preparationWindow_);
}

void TWinStartupHost::ShowError(const std::string& caption, const std::string& text, bool ownedByPreparation) {
  HWND owner = ownedByPreparation ? static_cast<HWND>(preparationWindow_) : nullptr;
  MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

bool TWinStartupHost::FileExists(const std::string& path) { return IsExistingFile(path); }

std::optional<std::string> TWinStartupHost::ReadWholeFile(const std::string& path) { return ReadWholeFileAt(path); }

TFolderCreation TWinStartupHost::CreateFolder(const std::string& path) {
  if (CreateDirectoryA(path.c_str(), nullptr)) return TFolderCreation::Created;
  return GetLastError() == ERROR_ALREADY_EXISTS ? TFolderCreation::AlreadyExists : TFolderCreation::Failed;
}

void TWinStartupHost::CopyAsNormalFile(const std::string& from, const std::string& to) {
  if (CopyFileA(from.c_str(), to.c_str(), FALSE)) SetFileAttributesA(to.c_str(), FILE_ATTRIBUTE_NORMAL);
}

bool TWinStartupHost::ExtractArchive(const std::string& archive, const std::string& destination) {
  return extractor_ && extractor_(archive, destination);
}

void TWinStartupHost::DeleteFolderTree(const std::string& folder) { corvane::DeleteFolderTree(folder); }

}  // namespace corvane
