#include "platform/win32/message_pump.h"

#include "platform/win32/form_window.h"

namespace platform::win32 {

namespace {

// Keys that move between controls (Tab, arrows, Enter, Escape) go to the form that holds
// the window with the focus, as in a dialog box.
void Deliver(MSG& message) {
  HWND form = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (form != nullptr && FormWindow::IsFormWindow(form) && IsDialogMessageW(form, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

}  // namespace

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) Deliver(message);
  return static_cast<int>(message.wParam);
}

void PumpPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Meant for the outer loop: leave it there.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    Deliver(message);
  }
}

}  // namespace platform::win32
