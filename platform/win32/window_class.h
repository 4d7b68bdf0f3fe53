#pragma once
// The window classes of our own: registered once, with the arrow cursor and no background.
#include <windows.h>

namespace platform::win32 {

// Registers the class; its atom, or 0 when the system refused it.
ATOM RegisterWindowClass(const wchar_t* name, WNDPROC procedure);

}  // namespace platform::win32
