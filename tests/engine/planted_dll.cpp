// Stands in for a system library planted beside a downloaded setup: when
// loaded it leaves a marker file named after itself in its own folder.
#include <windows.h>

#include <string>

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(self, path, MAX_PATH);
    std::string marker = std::string(path, length) + ".loaded";
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return TRUE;
}
