#include "tests/e2e/robot/other_program.h"

namespace robot {

OtherProgram::~OtherProgram() {
  if (window_) DestroyWindow(window_);
}

// In the screen's top-left corner, clear of the middle where the program under test and its
// message boxes appear, so that it covers none of their buttons.
bool OtherProgram::TurnTo() {
  if (!window_) {
    window_ = CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                              0, 240, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  return window_ && SetForegroundWindow(window_);
}

bool OtherProgram::Active() const { return window_ && GetForegroundWindow() == window_; }

}  // namespace robot
