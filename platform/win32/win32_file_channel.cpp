#include "platform/win32/win32_file_channel.h"

#include <algorithm>

namespace platform::win32 {

namespace {

// ReadFile and WriteFile move at most a DWORD's worth of bytes at a time.
constexpr std::size_t kLargestPiece = 1u << 30;

}  // namespace

Win32FileChannel::~Win32FileChannel() { Close(); }

std::int64_t Win32FileChannel::Length() {
  LARGE_INTEGER size;
  if (file_ == INVALID_HANDLE_VALUE || !GetFileSizeEx(file_, &size)) return -1;
  return size.QuadPart;
}

bool Win32FileChannel::ReadAt(std::int64_t offset, std::uint8_t* buffer, std::size_t count) {
  LARGE_INTEGER position;
  position.QuadPart = offset;
  if (file_ == INVALID_HANDLE_VALUE || offset < 0 ||
      !SetFilePointerEx(file_, position, nullptr, FILE_BEGIN)) {
    return false;
  }
  while (count > 0) {
    const auto piece = static_cast<DWORD>(std::min(count, kLargestPiece));
    DWORD read = 0;
    if (!ReadFile(file_, buffer, piece, &read, nullptr) || read == 0) return false;
    buffer += read;
    count -= read;
  }
  return true;
}

bool Win32FileChannel::Write(const std::uint8_t* data, std::size_t count) {
  if (file_ == INVALID_HANDLE_VALUE) return false;
  while (count > 0) {
    const auto piece = static_cast<DWORD>(std::min(count, kLargestPiece));
    DWORD written = 0;
    if (!WriteFile(file_, data, piece, &written, nullptr) || written == 0) return false;
    data += written;
    count -= written;
  }
  return true;
}

bool Win32FileChannel::Close() {
  if (file_ == INVALID_HANDLE_VALUE) return true;
  const bool closed = CloseHandle(file_) != FALSE;
  file_ = INVALID_HANDLE_VALUE;
  return closed;
}

}  // namespace platform::win32
