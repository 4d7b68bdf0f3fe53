#include "platform/win32/process/dll_search.h"

#include <windows.h>

namespace platform::win32 {

void RestrictDllSearch() {
  // SetDefaultDllDirectories exists from Windows 8, and on Windows 7 with KB2533623: looked up,
  // not imported, so that the programs still start where it is missing.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const FARPROC found =
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  // Through the generic function type, which converts to any other without a warning.
  const auto setDefault =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found));
  if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    SetDllDirectoryW(L"");  // takes at least the current folder out of the search
  }
}

}  // namespace platform::win32
