// press-button CAPTION BUTTON [HOLD_MS] [TIMEOUT_MS]
//
// Waits for a message box with the given caption, prints "shown: " and its
// text, keeps it up for HOLD_MS (default 0; time for a screenshot), then
// presses BUTTON the way a user would: ok, cancel, yes, no, retry, abort or
// ignore. Exit code 0 when pressed, 1 when no such box came up within
// TIMEOUT_MS (default 30000), 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int ButtonId(const char* name) {
  const struct {
    const char* name;
    int id;
  } buttons[] = {{"ok", IDOK},       {"cancel", IDCANCEL}, {"yes", IDYES},   {"no", IDNO},
                 {"retry", IDRETRY}, {"abort", IDABORT},   {"ignore", IDIGNORE}};
  for (const auto& button : buttons) {
    if (_stricmp(button.name, name) == 0) return button.id;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int button = argc >= 3 ? ButtonId(argv[2]) : 0;
  if (argc < 3 || argc > 5 || button == 0) {
    std::fprintf(stderr, "usage: press-button CAPTION ok|cancel|yes|no|retry|abort|ignore [HOLD_MS] [TIMEOUT_MS]\n");
    return 2;
  }
  const DWORD hold = argc >= 4 ? std::strtoul(argv[3], nullptr, 10) : 0;
  const DWORD timeout = argc >= 5 ? std::strtoul(argv[4], nullptr, 10) : 30000;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeout) {
    HWND box = FindWindowA("#32770", argv[1]);
    std::string text(4096, '\0');
    // Only once it is on screen with its text in place.
    if (box && IsWindowVisible(box)) {
      text.resize(GetDlgItemTextA(box, 0xFFFF, text.data(), static_cast<int>(text.size())));
      if (!text.empty()) {
        std::printf("shown: %s\n", text.c_str());
        std::fflush(stdout);
        Sleep(hold);
        PostMessageA(box, WM_COMMAND, button, 0);
        return 0;
      }
    }
    Sleep(50);
  }
  std::fprintf(stderr, "press-button: no box \"%s\" within %lu ms\n", argv[1], timeout);
  return 1;
}
