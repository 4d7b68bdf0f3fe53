// hold_name: takes a name for a mutex as any program can, with the system's default security,
// and holds it until its message box ("Name holder") is answered. The box says whether the
// program runs elevated.
//
//   hold_name NAME
// Exit status: 0; 1 when the name exists already, cannot be taken, or the program cannot tell
// its elevation; 3 without a name.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 3;
  HANDLE token = nullptr;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) ||
      !GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) {
    return 1;
  }
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, argv[1]);
  if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) return 1;
  const std::wstring text = L"Holding " + std::wstring(argv[1]) +
                            (elevation.TokenIsElevated ? L", elevated." : L" without elevation.");
  MessageBoxW(nullptr, text.c_str(), L"Name holder", MB_OK);
  CloseHandle(mutex);
  return 0;
}
