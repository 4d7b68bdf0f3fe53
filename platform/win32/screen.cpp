#include "platform/win32/screen.h"

#include "platform/win32/system_library.h"

namespace platform::win32 {

int SystemDpi() {
  static const int dpi = [] {
    HDC screen = GetDC(nullptr);
    const int found = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return found > 0 ? found : kDesignDpi;
  }();
  return dpi;
}

int WindowDpi(HWND window) {
  // Windows 10 (1607) and later; before it every window is at the system DPI.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpi = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpi != nullptr ? getDpi(window) : 0;
  return dpi != 0 ? static_cast<int>(dpi) : SystemDpi();
}

RECT OuterRect(RECT client, DWORD style, DWORD exStyle, int dpi) {
  using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr) {
    adjustForDpi(&client, style, FALSE, exStyle, static_cast<UINT>(dpi));
  } else {
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
  }
  return client;
}

}  // namespace platform::win32
