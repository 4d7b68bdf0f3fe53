#pragma once

namespace demo {

// Limits the search for DLLs loaded from now on to the system folder, so that a DLL planted
// next to the program (the uninstaller runs a copy of itself from the temporary folder) is
// never loaded. Call it first thing.
void LimitDllSearchToSystem();

}  // namespace demo
