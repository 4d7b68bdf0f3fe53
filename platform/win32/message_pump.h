#pragma once
// The program's event loop, and the pump that lets pending events through once.
#include <windows.h>

namespace platform::win32 {

// Runs until the program's last window is gone (or the program ends); returns the exit code.
int RunMessageLoop();

// Handles every message that is waiting, then returns.
void PumpPendingMessages();

}  // namespace platform::win32
