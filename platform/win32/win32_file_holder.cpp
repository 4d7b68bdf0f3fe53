// The file system's FileHolder: who holds a file open, as the system's Restart Manager tells.
#include <windows.h>
#include <restartmanager.h>

#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"

namespace platform::win32 {

namespace {

// How many holders of one file the list takes; a file that more programs hold names none.
constexpr UINT kListedHolders = 4;

}  // namespace

// The library is loaded from the system folder when a file is found in use, not imported: a
// DLL that the system does not know by name would be looked for beside the setup file first,
// before any code of ours could stop it, and a system without it could not start the program.
// Every system that has the library has these functions; once loaded it stays, as the
// program's other libraries do. Wine's Restart Manager names nobody.
std::string Win32FileSystem::FileHolder(const std::string& path) {
  const HMODULE library = LoadSystemLibrary(L"rstrtmgr.dll");
  DWORD session = 0;
  WCHAR key[CCH_RM_SESSION_KEY + 1];
  if (library == nullptr ||
      SystemFunction<decltype(&RmStartSession)>(library, "RmStartSession")(&session, 0, key) !=
          ERROR_SUCCESS) {
    return {};
  }
  const std::wstring file = Wide(path);
  LPCWSTR files[] = {file.c_str()};
  RM_PROCESS_INFO holders[kListedHolders];
  UINT needed = 0;
  UINT count = kListedHolders;
  DWORD reasons = 0;
  const bool listed =
      SystemFunction<decltype(&RmRegisterResources)>(library, "RmRegisterResources")(
          session, 1, files, 0, nullptr, 0, nullptr) == ERROR_SUCCESS &&
      SystemFunction<decltype(&RmGetList)>(library, "RmGetList")(session, &needed, &count, holders,
                                                                 &reasons) == ERROR_SUCCESS &&
      count > 0;
  SystemFunction<decltype(&RmEndSession)>(library, "RmEndSession")(session);
  return listed ? Utf8(holders[0].strAppName) : std::string();
}

}  // namespace platform::win32
