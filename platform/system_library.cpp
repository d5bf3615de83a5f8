#include "platform/system_library.h"

namespace corvane {

void RestrictLibrarySearch() {
  using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD);
  auto setDefault = reinterpret_cast<TSetDefaultDllDirectories>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetDllDirectoryA("");  // drops the current folder even where the call above is missing
}

std::string SystemFolder() {
  std::string folder(MAX_PATH, '\0');
  folder.resize(GetSystemDirectoryA(folder.data(), MAX_PATH));
  return WithTrailingBackslash(folder);
}

std::string WithTrailingBackslash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

TSystemLibrary::TSystemLibrary(const char* fileName, TLookup lookup)
    : module_(lookup == TLookup::Manifest
                  ? LoadLibraryA(fileName)
                  : LoadLibraryExA((SystemFolder() + fileName).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)) {}

TSystemLibrary::~TSystemLibrary() {
  if (module_) FreeLibrary(module_);
}

}  // namespace corvane
