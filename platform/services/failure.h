#pragma once
// A platform failure that no procedure can handle (a window that cannot be created, a system
// library that cannot be loaded) ends the program where it happens, through the toolkit's
// Fail: it shows the error report naming the failure, runs the clean-up that the program
// registered, and ends the program.

namespace platform {

// What must still happen when a failure ends the program (the wizard removes its temporary
// folder): a plain function and what it works on, so that registering it costs nothing.
struct FailureCleanUp {
  void (*run)(void* context) = nullptr;
  void* context = nullptr;
};

}  // namespace platform
