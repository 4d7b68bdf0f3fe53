#pragma once
// Where the program runs from.
#include <string>
#include <string_view>

namespace platform::win32 {

// The full path of the program's own file, in UTF-8.
std::string ModulePath();

// The folder part of a path; a drive root keeps its "\" ("C:\"), others have none.
std::string FolderOf(std::string_view path);

}  // namespace platform::win32
