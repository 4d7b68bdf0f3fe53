#pragma once
// The start of a Windows program: the backend sets up its services, calls `main`
// (which shows the first windows and returns), then lets window events drive the program.
#include "platform/services/platform.h"

namespace platform {

using ProgramMain = void (*)(Platform& platform);

int RunProgram(ProgramMain main);

}  // namespace platform
