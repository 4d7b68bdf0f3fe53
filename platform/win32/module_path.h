#pragma once
// Where the program runs from.
#include <string>

namespace platform::win32 {

// The full path of the program's own file.
std::wstring ModulePath();

// The folder part of a path; a drive root keeps its "\" ("C:\"), others have none.
std::wstring FolderOf(const std::wstring& path);

}  // namespace platform::win32
