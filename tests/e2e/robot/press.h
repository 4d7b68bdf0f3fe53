#pragma once
// Acting on another program's window as the user would: a click, the close box.
#include <windows.h>

namespace robot {

// Sends `message` to `window` and waits for its handler for a moment only: a handler that
// opens a message box or runs a long job keeps going while the script carries on (and
// answers the box); a quick one has finished when Press returns, so the next step sees its
// effect. False when the message could not be sent.
bool Press(HWND window, UINT message, WPARAM wParam = 0);

}  // namespace robot
