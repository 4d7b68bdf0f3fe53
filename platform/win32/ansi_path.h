#pragma once
// Paths for the parts of the system that read text in the ANSI code page: lz32, which opens
// files through OpenFile, and Program Manager's commands. A path that the code page cannot
// spell goes to them by its short (8.3) form, which it can.
#include <cstddef>
#include <string>

namespace platform::win32 {

// No limit on the length of the spelled path.
constexpr std::size_t kAnyLength = static_cast<std::size_t>(-1);

// Whether the ANSI code page spells `path` exactly in at most `limit` bytes, its NUL included.
bool AnsiSpells(const std::wstring& path, std::size_t limit = kAnyLength);

// `path` when the ANSI code page spells it exactly in at most `limit` bytes (its NUL
// included); otherwise its short form when that one is spelled so; otherwise `path`. Only
// an existing file or folder has a short form.
std::wstring AnsiCompatiblePath(const std::wstring& path, std::size_t limit = kAnyLength);

}  // namespace platform::win32
