#pragma once
// Paths for Program Manager's commands, which it reads in the ANSI code page. A path that the
// code page cannot spell goes to it by its short (8.3) form, which it can.
#include <string>

namespace platform::win32 {

// `path` when the ANSI code page spells it exactly; otherwise its short form when that one is
// spelled so; otherwise `path`. Only an existing file or folder has a short form.
std::wstring AnsiCompatiblePath(const std::wstring& path);

}  // namespace platform::win32
