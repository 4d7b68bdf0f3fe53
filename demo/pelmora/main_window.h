#pragma once
// Pelmora's window: one button for each of its five sounds, one for its help file.
#include <windows.h>

namespace demo {

// Shows the window and runs it until it is closed; returns the program's exit code.
int RunMainWindow(HINSTANCE instance, int show);

}  // namespace demo
