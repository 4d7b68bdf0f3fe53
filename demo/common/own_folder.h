#pragma once
// Where this program's file lies. Pelmora finds its sounds and help file there, and the
// uninstaller the files that it removes. A path that does not fit is incomplete.
#include <string_view>

#include "demo/common/wide_text.h"

namespace demo {

WidePath OwnPath();

// The folder of OwnPath(), without a trailing backslash.
WidePath OwnFolder();

// The folder that holds `path`: what comes before its last backslash.
WidePath FolderOf(const WidePath& path);

// `folder` + "\" + `name`.
WidePath PathIn(const WidePath& folder, std::string_view name);

}  // namespace demo
