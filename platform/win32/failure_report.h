#pragma once
// The last word of a program that a failure stops: a message box that names it.
#include <string>

#include "platform/services/failure.h"

namespace platform::win32 {

// The clean-up that EndWithFailure runs before the process ends.
void SetFailureCleanUp(FailureCleanUp cleanUp);

// Shows the report naming the failure, runs the registered clean-up and ends the process.
[[noreturn]] void EndWithFailure(const std::string& text);

}  // namespace platform::win32
