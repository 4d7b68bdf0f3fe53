#include "platform/win32/container_window.h"

#include "platform/win32/window_class.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kContainerClass[] = L"PelmoraContainer";

void AskFormToPaint(HWND window, HDC dc, const RECT& area) {
  PaintRequest request{window, dc, area};
  SendMessageW(GetAncestor(window, GA_ROOT), kPaintContainer, 0,
               reinterpret_cast<LPARAM>(&request));
}

LRESULT CALLBACK ContainerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      AskFormToPaint(window, dc, paint.rcPaint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(window, &client);
      AskFormToPaint(window, reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

const wchar_t* ContainerClass() {
  static const ATOM registered = RegisterWindowClass(kContainerClass, ContainerProcedure);
  static_cast<void>(registered);
  return kContainerClass;
}

}  // namespace platform::win32
