#pragma once
// Libraries come from the system folder only, so that a DLL planted beside a downloaded
// program is never loaded in place of the system's own. Every Windows program of ours calls
// this first thing: the setup program and the demo's two programs, which use none of the C++
// library's compiled code, so neither does this.

namespace platform::win32 {

// Limits the DLL search of the whole process to the system folder.
void RestrictDllSearch();

}  // namespace platform::win32
