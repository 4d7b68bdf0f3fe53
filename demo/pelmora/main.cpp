// Pelmora.exe: the application that the setup program installs.
#include <windows.h>

#include "demo/common/dll_search.h"
#include "demo/pelmora/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  demo::LimitDllSearchToSystem();
  return demo::RunMainWindow(instance, show);
}
