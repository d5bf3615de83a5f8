#include "platform/launcher/language_dialog.h"

#include <windows.h>

#include <memory>
#include <stdexcept>

#include "launcher/language_codes.h"

namespace corvane {
namespace {

constexpr int kMessageOk = 38;
constexpr int kMessageCancel = 39;
constexpr int kMessageCaption = 89;
constexpr int kMessagePrompt = 90;

constexpr int kClientWidth = 241, kClientHeight = 127;
constexpr int kLangComboId = 101;
constexpr int kComboDropHeight = 200;  // the list that drops down below the combo
constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

struct TGdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct TIconDeleter {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

// What the dialog procedure works with, from WM_INITDIALOG to EndDialog.
struct TLanguageDialogState {
  const std::vector<std::string>& languages;
  std::size_t preselected;
  const TMessageTable& messages;
  std::unique_ptr<std::remove_pointer_t<HFONT>, TGdiDeleter> font;
  std::unique_ptr<std::remove_pointer_t<HICON>, TIconDeleter> picture;
  std::optional<std::size_t> choice;
};

// An empty dialog: the controls are created in pixels, as the form lays
// them out, rather than in dialog units.
struct alignas(DWORD) TEmptyDialogTemplate {
  DLGTEMPLATE dialog;
  WORD menu = 0;
  WORD windowClass = 0;
  WORD title = 0;
};

HFONT CreateTahoma8() {
  HDC screen = GetDC(nullptr);
  const int height = -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72);
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma");
}

HWND AddControl(HWND dialog, HFONT font, const char* windowClass, const std::string& text, DWORD style, int id, int x,
                int y, int width, int height) {
  HWND control = CreateWindowExA(0, windowClass, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

void CentreOnScreen(HWND dialog) {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kDialogStyle, FALSE, WS_EX_DLGMODALFRAME);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
}

void BuildDialog(HWND dialog, TLanguageDialogState& state) {
  const TMessageTable& messages = state.messages;
  SetWindowTextA(dialog, messages.Text(kMessageCaption).c_str());
  CentreOnScreen(dialog);
  state.font.reset(CreateTahoma8());
  HFONT font = state.font.get();

  HWND picture = AddControl(dialog, font, "STATIC", "", SS_ICON, -1, 16, 16, 24, 24);
  state.picture.reset(static_cast<HICON>(CopyImage(LoadIcon(nullptr, IDI_QUESTION), IMAGE_ICON, 24, 24, 0)));
  SendMessageA(picture, STM_SETICON, reinterpret_cast<WPARAM>(state.picture.get()), 0);
  AddControl(dialog, font, "STATIC", messages.Text(kMessagePrompt), SS_LEFT, -1, 56, 16, 169, 33);  // Label1
  HWND combo = AddControl(dialog, font, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kLangComboId, 56,
                          56, 169, kComboDropHeight);  // LangCombo
  for (const std::string& language : state.languages) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(language.c_str()));
  }
  SendMessageA(combo, CB_SETCURSEL, state.preselected, 0);
  AddControl(dialog, font, "BUTTON", messages.Text(kMessageOk), BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 72, 88, 75,
             25);  // BitBtn1
  AddControl(dialog, font, "BUTTON", messages.Text(kMessageCancel), BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 152, 88, 75,
             25);  // BitBtn2
  SetFocus(combo);
  SetForegroundWindow(dialog);
}

INT_PTR CALLBACK LanguageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<TLanguageDialogState*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      BuildDialog(dialog, *reinterpret_cast<TLanguageDialogState*>(lParam));
      return FALSE;  // the combo has the focus already
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        const LRESULT selected = SendDlgItemMessageA(dialog, kLangComboId, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR) state->choice = static_cast<std::size_t>(selected);
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

std::optional<std::size_t> TWinLanguagePrompt::Choose(const std::vector<std::string>& languages,
                                                      std::size_t preselected, const TMessageTable& messages) {
  TEmptyDialogTemplate layout{};
  layout.dialog.style = kDialogStyle;
  layout.dialog.dwExtendedStyle = WS_EX_DLGMODALFRAME;
  TLanguageDialogState state{languages, preselected, messages, nullptr, nullptr, std::nullopt};
  const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &layout.dialog, nullptr,
                                                 LanguageDialogProc, reinterpret_cast<LPARAM>(&state));
  if (result == -1 || result == 0) {
    throw std::runtime_error("Unable to show the language selection dialog (error " +
                             std::to_string(GetLastError()) + ")");
  }
  return result == IDOK ? state.choice : std::nullopt;
}

unsigned UserDefaultLanguage() {
  const int size = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTLANGUAGE, nullptr, 0);
  if (size <= 0) return 0;
  std::string text(static_cast<std::size_t>(size), '\0');
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTLANGUAGE, text.data(), size) <= 0) return 0;
  text.resize(static_cast<std::size_t>(size - 1));  // without the terminating NUL
  return LanguageOfLocaleText(text);
}

}  // namespace corvane
