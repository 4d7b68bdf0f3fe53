#pragma once
// The input box: a prompt, a line to type in, OK and Cancel.
#include <windows.h>

#include <string>

namespace platform::win32 {

// Waits for the user; returns the typed text, or an empty text when cancelled.
std::string ShowInputBox(HWND owner, const std::string& prompt, const std::string& title,
                         const std::string& defaultText);

}  // namespace platform::win32
