#pragma once
// The program that the user turns to beside the one under test: a plain window of the
// robot's own, made the active window of the screen. Whatever the program under test shows
// from then on comes up while another program's window is active.
#include <windows.h>

namespace robot {

class OtherProgram {
 public:
  OtherProgram() = default;
  ~OtherProgram();
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;

  // Shows the window, if it is not shown yet, and asks for it to be the active window.
  bool TurnTo();
  // Whether it is the active window of the screen.
  bool Active() const;

 private:
  HWND window_ = nullptr;
};

}  // namespace robot
