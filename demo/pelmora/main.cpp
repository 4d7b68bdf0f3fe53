// Pelmora.exe: the application that the setup program installs.
#include <windows.h>

#include "platform/win32/process/dll_search.h"
#include "demo/pelmora/main_window.h"

namespace {

// How the program's starter asked for its first window to be shown.
int ShowCommand() {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT;
}

}  // namespace

// The process starts here, not in the C runtime's start-up code (see pelmora_program_start).
extern "C" [[noreturn, gnu::force_align_arg_pointer]] void ProgramStart() {
  platform::win32::RestrictDllSearch();
  ExitProcess(static_cast<UINT>(demo::RunMainWindow(GetModuleHandleW(nullptr), ShowCommand())));
}
