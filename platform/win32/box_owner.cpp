#include "platform/win32/box_owner.h"

#include "platform/win32/form_window.h"

namespace platform::win32 {

// The top-level windows in their order on the screen, from the top: an owned window always
// lies above its owner.
HWND BoxOwner() {
  const DWORD thread = GetCurrentThreadId();
  for (HWND window = GetTopWindow(nullptr); window != nullptr;
       window = GetWindow(window, GW_HWNDNEXT)) {
    if (IsWindowVisible(window) && GetWindowThreadProcessId(window, nullptr) == thread &&
        FormWindow::IsFormWindow(window)) {
      return window;
    }
  }
  return nullptr;
}

}  // namespace platform::win32
