#pragma once
// Frames and picture boxes: child windows that hold controls. They pass what their
// controls tell them (commands, colour requests) on to their form, and have their form
// paint them, since a container may hold shapes and transparent labels too.
#include <windows.h>

namespace platform::win32 {

// The window class of containers, registered on first use.
const wchar_t* ContainerClass();

// Sent to the form's window: paint `area` of the container `window` onto `dc`.
struct PaintRequest {
  HWND window;
  HDC dc;
  RECT area;
};
constexpr UINT kPaintContainer = WM_APP + 1;  // lParam: PaintRequest*

}  // namespace platform::win32
