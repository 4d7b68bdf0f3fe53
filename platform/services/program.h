#pragma once
// The start of a Windows program: the backend sets up its services, calls `main`
// (which shows the first windows and returns), then lets window events drive the program
// until its last form is gone, and ends the process with the message loop's exit code.
#include "platform/services/platform.h"

namespace platform {

using ProgramMain = void (*)(Platform& platform);

[[noreturn]] void RunProgram(ProgramMain main);

}  // namespace platform
