#include "platform/launcher/folder_tree.h"

#include <windows.h>

#include "platform/system_library.h"

namespace corvane {
namespace {

void EmptyFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    std::string path = folder + name;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    // A link to a folder is removed, never followed into.
    bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    bool isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (isFolder && !isLink) {
      EmptyFolder(path + "\\");
      RemoveDirectoryA(path.c_str());
    } else if (isFolder) {
      RemoveDirectoryA(path.c_str());
    } else {
      DeleteFileA(path.c_str());
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

void DeleteFolderTree(const std::string& folder) {
  const std::string root = WithTrailingBackslash(folder);
  for (int pass = 0; pass < 3; ++pass) EmptyFolder(root);
  RemoveDirectoryA(root.c_str());
}

}  // namespace corvane
