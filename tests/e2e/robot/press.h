#pragma once
// Acting on another program's window as the user would: a click, the close box.
#include <windows.h>

#include <string>

namespace robot {

// Sends `message` to `window` and waits for its handler for a moment only: a handler that
// opens a message box or runs a long job keeps going while the script carries on (and
// answers the box); a quick one has finished when Press returns, so the next step sees its
// effect. False when the message could not be sent.
bool Press(HWND window, UINT message, WPARAM wParam = 0);

enum class MouseResult {
  kClicked,      // the control took the click
  kGoesNowhere,  // it lies in a disabled window, which takes no click
  kFailed,       // the user could not click there either (another window over it)
};

// Clicks the middle of `control` with the mouse, as the user does, and waits `settleMs` for
// what the click sets off. Where a user's click would go nowhere, so does this one: on a
// control that is disabled, or inside a disabled window, nothing happens. `why` says why on
// kFailed.
MouseResult MouseClick(HWND control, DWORD settleMs, std::string& why);

}  // namespace robot
