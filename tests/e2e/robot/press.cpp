#include "tests/e2e/robot/press.h"

namespace robot {
namespace {

// How long the script waits for a handler before it assumes a modal window or a long job.
constexpr DWORD kHandlerMs = 1000;

}  // namespace

// From the robot's own thread: a helper thread still inside its send when the robot ends
// (the click that ended the program) is killed with it, which 32-bit Wine under qemu-user's
// emulation does not always survive. A send that times out leaves the handler running; a
// window that is gone after the send was taken away by its handler, which ended its program.
bool Press(HWND window, UINT message, WPARAM wParam) {
  if (!IsWindow(window)) return false;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, message, wParam, 0, SMTO_NORMAL, kHandlerMs, &result) != 0 ||
         GetLastError() == ERROR_TIMEOUT || !IsWindow(window);
}

}  // namespace robot
