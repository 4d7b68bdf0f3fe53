#pragma once
// A message box with UTF-8 texts.
#include <string_view>

#include <windows.h>

namespace demo {

int ShowMessage(HWND owner, std::string_view text, std::string_view title, UINT style);

}  // namespace demo
