#include "demo/pelmora/main_window.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <string_view>

#include "demo/common/message_box.h"
#include "demo/common/own_folder.h"
#include "demo/common/wide_text.h"
#include "product/pelmora.h"

namespace demo {
namespace {

constexpr wchar_t kClassName[] = L"PelmoraWindow";
constexpr int kFirstSoundId = 100;
constexpr int kSoundCount = static_cast<int>(product::kSounds.size());
constexpr std::string_view kPrompt = "Press a button to play one of Pelmora's sounds.";

// The layout at 96 dots per inch, in pixels; the window scales it to the screen's DPI.
constexpr int kMargin = 12;
constexpr int kGap = 8;
constexpr int kButtonWidth = 76;
constexpr int kButtonHeight = 28;
constexpr int kPromptHeight = 20;
constexpr int kClientWidth = 2 * kMargin + kSoundCount * kButtonWidth + (kSoundCount - 1) * kGap;
constexpr int kSoundRowTop = kMargin + kPromptHeight + kGap;
constexpr int kCommandRowTop = kSoundRowTop + kButtonHeight + 2 * kGap;
constexpr int kClientHeight = kCommandRowTop + kButtonHeight + kMargin;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// "Beep.wav" shows as "Beep".
WideText SoundCaption(std::string_view fileName) {
  return ToWide(Prefix(fileName, fileName.find('.')));
}

// A message that names a file: `before`, then the name in quotes and a full stop.
FixedString<char, 256> NamingMessage(std::string_view before, std::string_view name) {
  FixedString<char, 256> text;
  text.Append(before).Append('"').Append(name).Append("\".");
  return text;
}

class MainWindow {
 public:
  MainWindow() : folder_(OwnFolder()), dpi_(ScreenDpi()), font_(MessageFont()) {}
  ~MainWindow() { DeleteObject(font_); }
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  bool Create(HINSTANCE instance, int show) {
    RECT frame{0, 0, Scale(kClientWidth), Scale(kClientHeight)};
    AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
    window_ = CreateWindowExW(0, kClassName, ToWide(product::kTitle).c_str(), kWindowStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (window_ == nullptr) return false;
    CreateControls(instance);
    ShowWindow(window_, show);
    SetFocus(GetDlgItem(window_, kFirstSoundId));
    return true;
  }

  int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      if (IsDialogMessageW(window_, &message)) continue;  // Tab, arrows, Space and Esc
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
  }

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
      case WM_COMMAND:
        if (self != nullptr && HIWORD(wParam) == BN_CLICKED) self->OnCommand(LOWORD(wParam));
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  }

 private:
  static int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
  }

  static HFONT MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }

  int Scale(int pixels) const { return MulDiv(pixels, dpi_, USER_DEFAULT_SCREEN_DPI); }

  void AddControl(HINSTANCE instance, const wchar_t* type, const wchar_t* text, DWORD style, int id,
                  int left, int top, int width, int height) {
    HWND control =
        CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | style, Scale(left), Scale(top),
                        Scale(width), Scale(height), window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  }

  void CreateControls(HINSTANCE instance) {
    AddControl(instance, WC_STATICW, ToWide(kPrompt).c_str(), SS_LEFT, 0, kMargin, kMargin,
               kClientWidth - 2 * kMargin, kPromptHeight);
    for (int i = 0; i < kSoundCount; ++i) {
      AddControl(instance, WC_BUTTONW, SoundCaption(product::kSounds[i].installedName).c_str(),
                 WS_TABSTOP | BS_PUSHBUTTON | (i == 0 ? WS_GROUP : 0), kFirstSoundId + i,
                 kMargin + i * (kButtonWidth + kGap), kSoundRowTop, kButtonWidth, kButtonHeight);
    }
    AddControl(instance, WC_BUTTONW, L"&Help", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, IDHELP,
               kMargin, kCommandRowTop, kButtonWidth, kButtonHeight);
    AddControl(instance, WC_BUTTONW, L"Close", WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, IDCANCEL,
               kClientWidth - kMargin - kButtonWidth, kCommandRowTop, kButtonWidth, kButtonHeight);
  }

  void OnCommand(int id) {
    if (id >= kFirstSoundId && id < kFirstSoundId + kSoundCount) {
      PlaySoundFile(product::kSounds[static_cast<std::size_t>(id - kFirstSoundId)].installedName);
    } else if (id == IDHELP) {
      OpenHelp();
    } else if (id == IDCANCEL) {
      DestroyWindow(window_);
    }
  }

  void PlaySoundFile(std::string_view fileName) {
    const WidePath path = PathIn(folder_, fileName);
    if (!path.complete() ||
        !PlaySoundW(path.c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT)) {
      Complain(NamingMessage("Pelmora could not play the sound ", fileName).view());
    }
  }

  void OpenHelp() {
    const WidePath path = PathIn(folder_, product::kHelp.installedName);
    if (!path.complete() || !OpenDocument(path)) {
      Complain(NamingMessage("Pelmora could not open its help file ", product::kHelp.installedName)
                   .view());
    }
  }

  bool OpenDocument(const WidePath& path) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(window_, L"open", path.c_str(), nullptr, folder_.c_str(), SW_SHOWNORMAL));
    return result > 32;  // ShellExecute's errors are the values up to 32
  }

  void Complain(std::string_view text) {
    ShowMessage(window_, text, product::kTitle, MB_OK | MB_ICONEXCLAMATION);
  }

  WidePath folder_;
  int dpi_;
  HFONT font_;
  HWND window_ = nullptr;
};

bool RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = MainWindow::Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

}  // namespace

int RunMainWindow(HINSTANCE instance, int show) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  MainWindow window;
  if (!RegisterWindowClass(instance) || !window.Create(instance, show)) return 1;
  return window.RunMessageLoop();
}

}  // namespace demo
