#pragma once
// The screen's DPI. Forms are laid out in twips (1/1440 inch) and shown in pixels at the DPI
// of the monitor they are on (platform/services/twips.h converts).
#include <windows.h>

namespace platform::win32 {

constexpr int kPointsPerInch = 72;
constexpr int kDesignDpi = 96;

// The DPI of the screen the program started on.
int SystemDpi();
// The DPI that a window is shown at: its monitor's when the system scales per monitor.
int WindowDpi(HWND window);

// The outer rectangle of a window whose client area is `client`, at a DPI.
RECT OuterRect(RECT client, DWORD style, DWORD exStyle, int dpi);

}  // namespace platform::win32
