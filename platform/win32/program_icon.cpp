#include "platform/win32/program_icon.h"

#include "platform/win32/screen.h"

namespace platform::win32 {

namespace {

constexpr int kLargeSize = 32;
constexpr int kSmallSize = 16;

int SizeAt(int designSize, int dpi) { return MulDiv(designSize, dpi, kDesignDpi); }

HICON LoadAt(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

}  // namespace

ProgramIcon::ProgramIcon(int dpi)
    : largeSize_(SizeAt(kLargeSize, dpi)),
      large_(LoadAt(largeSize_)),
      small_(LoadAt(SizeAt(kSmallSize, dpi))) {}

ProgramIcon::~ProgramIcon() {
  if (large_ != nullptr) DestroyIcon(large_);
  if (small_ != nullptr) DestroyIcon(small_);
}

}  // namespace platform::win32
