#pragma once
// Libraries come from the system folder only, so that a DLL planted beside a downloaded
// setup file is never loaded in place of the system's own (see also process/dll_search.h).
#include <windows.h>

namespace platform::win32 {

// Loads a system DLL by its file name from the system folder; null when it cannot.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded module, typed; null when the module lacks it (an older system).
template <typename Function>
Function SystemFunction(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // Through the generic function type, which converts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A function of user32 that newer systems have (the per-monitor DPI calls).
template <typename Function>
Function User32Function(const char* name) {
  return SystemFunction<Function>(GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace platform::win32
