#pragma once
// Whether the system can reach every file that an installation makes in a destination: no path
// may have more than 259 characters, which with the terminating NUL fill the system's 260.
// Characters are counted as the system counts them, in UTF-16 units.
#include <string>

#include "platform/services/toolkit.h"

namespace ui {

// True when every path in `destination`, trimmed already, fits; otherwise the user is told in a
// "Warning" message, before anything is made there, and the result is false.
bool AcceptDestinationLength(platform::Toolkit& toolkit, const std::string& destination);

}  // namespace ui
