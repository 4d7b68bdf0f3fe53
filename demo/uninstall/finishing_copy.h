#pragma once
// A running program cannot delete its own file. So the uninstaller starts a copy of itself in
// a private folder (see private_folder.h) and ends; the copy waits for it to end, removes the
// product, the original's file included, and ends in turn. The copy's file is created new and
// written through the handle that creates it; before the copy starts, it is opened again for
// deletion on close, shared for reading only, with a handle that the copy inherits: nobody can
// change or rename it until the copy ends, and then the last handle closes and the file goes.
#include <windows.h>

#include <optional>

#include "demo/common/wide_text.h"

namespace demo {

// Starts the copy, which will remove the product from `folder`; false if that failed, in which
// case neither the copy nor its folder is left.
bool StartFinishingCopy(const WidePath& folder);

// What the copy was started with.
struct Takeover {
  WidePath folder;  // the product's
  HANDLE ownFile;   // the copy's file, deleted when its last handle closes
};

// When this process is the copy: waits for the original to end, then returns what to work on.
// Otherwise nothing.
std::optional<Takeover> TakeOverFromOriginal();

// The copy's last act: moves its own file out of its folder, to go when the process ends,
// and removes the folder. When that fails, the folder (empty once the process has ended) is
// removed at the next restart, which an elevated process can ask for.
void LeavePrivateFolder(HANDLE ownFile);

}  // namespace demo
