#pragma once
// The one running instance of a program: a named mutex, held until the process ends.
#include <string>

namespace platform::win32 {

// Claims the mutex `name`; false when another instance of the program holds it. Elevated, the
// program counts only a mutex that an elevated instance made: a program without elevation
// can take the name first, but not stop the program with it.
bool ClaimInstanceMutex(const std::wstring& name);

}  // namespace platform::win32
