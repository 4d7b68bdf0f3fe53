#pragma once
// Where this program's file lies. Pelmora finds its sounds and help file there, and the
// uninstaller the files that it removes.
#include <string>
#include <string_view>

namespace demo {

std::wstring OwnPath();

// The folder of OwnPath(), without a trailing backslash.
std::wstring OwnFolder();

// `folder` + "\" + `name`.
std::wstring PathIn(const std::wstring& folder, std::string_view name);

}  // namespace demo
