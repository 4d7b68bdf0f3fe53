#pragma once
// A running program cannot delete its own file. So the uninstaller starts a copy of itself in
// the temporary folder and ends; the copy waits for it to end, removes the product, the
// original's file included, and ends in turn. Before the copy starts, its file is opened for
// deletion on close with a handle that the copy inherits: when the copy ends, the last handle
// closes and the file goes.
#include <optional>

#include "demo/common/wide_text.h"

namespace demo {

// Starts the copy, which will remove the product from `folder`; false if that failed, in which
// case nothing is left in the temporary folder.
bool StartFinishingCopy(const WidePath& folder);

// When this process is the copy: waits for the original to end, then returns the folder to
// remove the product from. Otherwise nothing.
std::optional<WidePath> TakeOverFromOriginal();

}  // namespace demo
