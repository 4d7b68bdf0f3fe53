#pragma once
// The folder that the finishing copy runs from. An elevated uninstaller must not start a file
// that a program of the user's could have written: such programs may write the user's
// temporary folder, and a file created there keeps the user's access. So the folder is made
// new, under a name that nobody can guess before, and when this process is elevated it lies in
// the system's temporary folder, where only administrators may write it.
#include "demo/common/wide_text.h"

namespace demo {

// `folder` + "\plm" + 16 hexadecimal digits from the system's random generator + `suffix`;
// incomplete when the generator fails or the path does not fit.
WidePath RandomPathIn(const WidePath& folder, std::wstring_view suffix);

// The new folder, or an empty path when none could be made.
WidePath NewPrivateFolder();

}  // namespace demo
