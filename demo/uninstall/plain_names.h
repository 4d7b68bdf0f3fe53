#pragma once
// The uninstaller runs elevated, and the folders it removes from may hold names that others
// put there. A name is taken for what it is: a link (a symbolic link, a junction, another name
// of a file that lies elsewhere) is removed as a name or left as it is, and neither the folder
// nor the file behind it is ever entered or changed.
#include <windows.h>

#include "demo/common/wide_text.h"

namespace demo {

// Whether `path` is a folder itself, not a link to one.
bool IsPlainFolder(const WidePath& path);

// Opens the file that `path` names itself, with `access`, and describes it in `info`. Fails
// for a folder, when the folder above is a link, and when the system would open what a link
// names instead (Wine does, for a symbolic link to a file, whatever the flags say).
HANDLE OpenFileItself(const WidePath& path, DWORD access, BY_HANDLE_FILE_INFORMATION& info);

// Whether the file open as `info` is a link itself or has other names: what changes it changes
// the file under every name.
bool IsLink(const BY_HANDLE_FILE_INFORMATION& info);

}  // namespace demo
