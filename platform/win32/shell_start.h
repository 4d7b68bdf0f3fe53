#pragma once
// Starting a program for the user from an elevated process: the shell's desktop starts it, as
// its own child, with the rights of the signed-in user.
#include <string>

namespace platform::win32 {

// Asks the shell's desktop to start the program in its folder, in a normal window. False when
// there is no shell desktop or it does not take the request.
bool StartThroughShell(const std::wstring& path, const std::wstring& folder);

}  // namespace platform::win32
