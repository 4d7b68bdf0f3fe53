#pragma once
// The last word of a program that a failure stops: a message box that names it.
#include <exception>
#include <string>

namespace platform::win32 {

void ShowFailureReport(const std::string& text);

// Shows the report and ends the process.
[[noreturn]] void EndWithFailure(const std::string& text) noexcept;

// Runs code called from a window procedure or a dialog procedure. No exception may cross
// a frame of the system: one that reaches here is reported and ends the program.
template <typename Code>
void RunGuarded(Code&& code) noexcept {
  try {
    code();
  } catch (const std::exception& failure) {
    EndWithFailure(failure.what());
  } catch (...) {
    EndWithFailure("an unknown failure");
  }
}

}  // namespace platform::win32
