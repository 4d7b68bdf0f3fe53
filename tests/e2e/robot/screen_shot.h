#pragma once
// Saves what the screen shows (the whole virtual screen; under Wine the virtual desktop)
// as a 24-bit bottom-up BMP file.
#include <string>

namespace robot {

// Returns false when the picture could not be taken or written.
bool SaveScreen(const std::wstring& path);

}  // namespace robot
