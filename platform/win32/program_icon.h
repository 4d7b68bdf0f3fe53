#pragma once
// The program's icon (resource 1) at the sizes a window shows it at one DPI.
#include <windows.h>

namespace platform::win32 {

constexpr int kProgramIconId = 1;

class ProgramIcon {
 public:
  explicit ProgramIcon(int dpi);
  ~ProgramIcon();
  ProgramIcon(const ProgramIcon&) = delete;
  ProgramIcon& operator=(const ProgramIcon&) = delete;

  HICON Large() const { return large_; }  // task switcher, image controls
  HICON Small() const { return small_; }  // caption
  int LargeSize() const { return largeSize_; }

 private:
  int largeSize_;
  HICON large_;
  HICON small_;
};

}  // namespace platform::win32
