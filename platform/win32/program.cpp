#include "platform/services/program.h"

#include <windows.h>

#include <commctrl.h>

#include "platform/win32/message_pump.h"
#include "platform/win32/process/dll_search.h"
#include "platform/win32/win32_dde.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_lz.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_toolkit.h"

namespace platform {

void RunProgram(ProgramMain main) {
  // Before anything can load a DLL.
  win32::RestrictDllSearch();
  // A drive without a disk answers the drive list's questions with an error code, not
  // with the system's "no disk" box.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  win32::Win32Toolkit toolkit;
  win32::Win32FileSystem files;
  win32::Win32Registry registry;
  win32::Win32Lz lz;
  win32::Win32Dde dde;
  Platform platform{toolkit, files, registry, lz, dde};
  main(platform);
  ExitProcess(static_cast<UINT>(win32::RunMessageLoop()));
}

}  // namespace platform
