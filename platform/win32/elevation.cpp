#include "platform/win32/elevation.h"

#include <windows.h>

namespace platform::win32 {

bool RunsElevated() {
  static const bool elevated = [] {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool asked =
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) != FALSE;
    CloseHandle(token);
    return asked && elevation.TokenIsElevated != 0;
  }();
  return elevated;
}

}  // namespace platform::win32
