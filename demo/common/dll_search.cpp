#include "demo/common/dll_search.h"

#include <windows.h>

namespace demo {

void LimitDllSearchToSystem() {
  // SetDefaultDllDirectories came with an update of Windows 7: look it up rather than import it.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const FARPROC found =
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
  if (found != nullptr) {
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void (*)()>(found));
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  } else {
    SetDllDirectoryW(L"");  // at least take the current folder out of the search
  }
}

}  // namespace demo
