#pragma once
// Whom a message box or an input box belongs to.
#include <windows.h>

namespace platform::win32 {

// The program's own form that is shown on top (the chooser over the wizard, the wizard over
// the backdrop), or null when none is shown. A box owned by it disables it until the box is
// answered, whichever program the user works in: the active window, which owned the boxes
// before, is none while the user is in another program, and an unowned box left the wizard
// open to a second Cancel.
HWND BoxOwner();

}  // namespace platform::win32
