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

INPUT MouseButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
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
    INPUT clicks[] = {MouseButton(MOUSEEVENTF_LEFTDOWN), MouseButton(MOUSEEVENTF_LEFTUP)};
    if (!SetCursorPos(middle.x, middle.y) || SendInput(2, clicks, sizeof(INPUT)) != 2) {
      why = "the system refused the mouse input";
      return MouseResult::kFailed;
    }
  }
  Sleep(settleMs);
  return takesIt ? MouseResult::kClicked : MouseResult::kGoesNowhere;
}

}  // namespace robot
