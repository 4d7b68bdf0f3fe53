// Pelmora.exe: the application that the setup program installs.
#include <windows.h>

#include "platform/win32/process/dll_search.h"
#include "demo/pelmora/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  platform::win32::RestrictDllSearch();
  return demo::RunMainWindow(instance, show);
}
