#include "tests/e2e/robot/press.h"

#include "tests/e2e/robot/desktop.h"

namespace robot {
namespace {

// How long the script waits for a handler before it assumes a modal window or a long job.
constexpr DWORD kHandlerMs = 1000;

// The top-level window that the user sees at a point: the first visible one from the top,
// enabled or not.
HWND TopWindowAt(POINT point) {
  for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
    RECT rect{};
    if (IsWindowVisible(window) && GetWindowRect(window, &rect) && PtInRect(&rect, point))
      return window;
  }
  return nullptr;
}

// How long the button is held down, as a user's click holds it: the system activates the
// window under the pointer before the button sees its press, and takes its time for it.
constexpr DWORD kHeldMs = 100;

// A mouse event at a point of the screen. The point travels with each event, so that no event
// goes to where an earlier move had not yet taken the pointer.
bool SendMouse(POINT point, DWORD button) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
  return SendInput(1, &input, sizeof input) == 1;
}

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

// The click is real input, so that the system decides which window takes it, as for the
// user's mouse. A disabled window takes none: the robot does not rely on the system to refuse
// it, so that no click of the robot's passes where a user's could not.
MouseResult MouseClick(HWND control, DWORD settleMs, std::string& why) {
  RECT rect{};
  if (!GetWindowRect(control, &rect)) {
    why = "the control is gone";
    return MouseResult::kFailed;
  }
  const POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  if (TopWindowAt(middle) != GetAncestor(control, GA_ROOT)) {
    why = "another window lies over the control";
    return MouseResult::kFailed;
  }
  const bool takesIt = AcceptsInput(control);
  if (takesIt) {
    const bool pressed = SendMouse(middle, 0) && SendMouse(middle, MOUSEEVENTF_LEFTDOWN);
    Sleep(kHeldMs);
    if (!pressed || !SendMouse(middle, MOUSEEVENTF_LEFTUP)) {
      why = "the system refused the mouse input";
      return MouseResult::kFailed;
    }
  }
  Sleep(settleMs);
  return takesIt ? MouseResult::kClicked : MouseResult::kGoesNowhere;
}

}  // namespace robot
