#include "platform/launcher/preparation_windows.h"

#include <windows.h>
#include <commctrl.h>

#include "launcher/message_table.h"
#include "launcher/preparation_layout.h"
#include "platform/system_library.h"

namespace corvane {
namespace {

constexpr int kMessageWizard = 23;
constexpr int kMessagePreparing = 24;
constexpr const char* kSplashClass = "TSetupSplash";
constexpr const char* kInitClass = "TSetupInit";
constexpr int kClientWidth = 369, kClientHeight = 89;

struct TWindowDeleter {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using TWindow = std::unique_ptr<std::remove_pointer_t<HWND>, TWindowDeleter>;

struct TGdiDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using TGdiObject = std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, TGdiDeleter>;

LRESULT CALLBACK SplashProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    auto picture = reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, GWLP_USERDATA));
    BITMAP info{};
    GetObjectA(picture, sizeof(info), &info);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, picture);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance) {
  WNDCLASSA splash{};
  splash.lpfnWndProc = SplashProc;
  splash.hInstance = instance;
  splash.hCursor = LoadCursor(nullptr, IDC_WAIT);
  splash.lpszClassName = kSplashClass;
  RegisterClassA(&splash);  // already registered on a second call: fine

  WNDCLASSA init{};
  init.lpfnWndProc = DefWindowProcA;
  init.hInstance = instance;
  init.hCursor = LoadCursor(nullptr, IDC_WAIT);
  init.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  init.lpszClassName = kInitClass;
  RegisterClassA(&init);
}

void Paint(HWND window) {
  if (window) RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

class TWinPreparationWindows : public TPreparationWindows {
public:
  TWinPreparationWindows(const std::string& splashPicture, const TMessageTable& messages, void** owner)
      : owner_(owner) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    using TInitCommonControls = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    auto init = commonControls_.Bind<TInitCommonControls>("InitCommonControlsEx");
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS};
    if (init) init(&controls);
    RegisterClasses(instance);
    const TSize screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};

    picture_.reset(LoadImageA(nullptr, splashPicture.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    std::optional<TRect> splashRect;
    if (picture_) {
      BITMAP info{};
      GetObjectA(picture_.get(), sizeof(info), &info);
      TRect rect = CentredOnScreen({info.bmWidth, info.bmHeight}, screen);
      splash_.reset(CreateWindowExA(WS_EX_TOOLWINDOW, kSplashClass, "", WS_POPUP, rect.left, rect.top, rect.width,
                                    rect.height, nullptr, nullptr, instance, nullptr));
      if (splash_) {
        SetWindowLongPtrA(splash_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(picture_.get()));
        ShowWindow(splash_.get(), SW_SHOWNORMAL);
        Paint(splash_.get());
        splashRect = rect;
      }
    }

    constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;  // no system buttons
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_DLGMODALFRAME);
    const TSize size{frame.right - frame.left, frame.bottom - frame.top};
    TRect rect = splashRect ? PlaceBesideSplash(*splashRect, size, screen) : CentredOnScreen(size, screen);
    init_.reset(CreateWindowExA(WS_EX_DLGMODALFRAME, kInitClass, messages.Text(kMessageWizard).c_str(), style,
                                rect.left, rect.top, rect.width, rect.height, nullptr, nullptr, instance, nullptr));
    if (!init_) return;

    HDC screenDc = GetDC(nullptr);
    font_.reset(CreateFontA(-MulDiv(8, GetDeviceCaps(screenDc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH, "Tahoma"));
    ReleaseDC(nullptr, screenDc);

    HWND icon = CreateWindowExA(0, "STATIC", nullptr, WS_CHILD | WS_VISIBLE | SS_ICON, 16, 16, 32, 32,
                                init_.get(), nullptr, instance, nullptr);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_INFORMATION)), 0);
    HWND label = CreateWindowExA(0, "STATIC", messages.Text(kMessagePreparing).c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
                                 56, 16, 297, 33, init_.get(), nullptr, instance, nullptr);
    SetWindowTextA(label, messages.Text(kMessagePreparing).c_str());
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    progress_ = CreateWindowExA(0, PROGRESS_CLASSA, nullptr, WS_CHILD | WS_VISIBLE, 16, 56, 337, 17, init_.get(),
                                nullptr, instance, nullptr);
    ShowWindow(init_.get(), SW_SHOWNORMAL);
    Paint(init_.get());
    *owner_ = init_.get();
  }

  ~TWinPreparationWindows() override {
    *owner_ = nullptr;
    if (init_) ShowWindow(init_.get(), SW_HIDE);
    init_.reset();
    if (splash_) ShowWindow(splash_.get(), SW_HIDE);
  }

  void SetProgress(int minimum, int maximum, int position) override {
    if (!progress_) return;
    SendMessageA(progress_, PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
    SendMessageA(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    Paint(init_.get());
  }

  void StepProgress() override {
    if (!progress_) return;
    SendMessageA(progress_, PBM_DELTAPOS, 1, 0);
    Paint(init_.get());
    Paint(splash_.get());
  }

private:
  void** owner_;
  TSystemLibrary commonControls_{"comctl32.dll", TSystemLibrary::TLookup::Manifest};
  TGdiObject picture_;
  TGdiObject font_;
  TWindow splash_;
  TWindow init_;
  HWND progress_ = nullptr;  // a child of init_
};

}  // namespace

std::unique_ptr<TPreparationWindows> ShowPreparationWindows(const std::string& splashPicture,
                                                            const TMessageTable& messages, void** owner) {
  return std::make_unique<TWinPreparationWindows>(splashPicture, messages, owner);
}

}  // namespace corvane
