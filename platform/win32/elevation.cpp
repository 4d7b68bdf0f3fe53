#include "platform/win32/elevation.h"

#include <windows.h>

namespace platform::win32 {

// Asked each time: a handful of times in a run, each a moment's work for the system.
bool RunsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};  // stays 0 where the system does not know elevation
  DWORD size = 0;
  GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  CloseHandle(token);
  return elevation.TokenIsElevated != 0;
}

}  // namespace platform::win32
