#include "platform/win32/win32_file_channel.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

// ReadFile and WriteFile move at most a DWORD's worth of bytes at a time.
constexpr std::size_t kLargestPiece = 1u << 30;
// The longest path that a file takes through its handle, its NUL included.
constexpr std::size_t kMaxRenamePath = 1024;

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

// Through the handle, so that the name taken is that of the file the program wrote, whatever
// another program has done to the names meanwhile. Its bytes reach the disk first: a
// replaced file is gone only once the new one is whole.
int Win32FileChannel::MoveTo(const std::string& path) {
  // The program's paths stay far below the longest name that the system takes.
  struct {
    FILE_RENAME_INFO info;
    wchar_t rest[kMaxRenamePath];
  } rename{};
  const std::wstring name = Wide(path);
  if (name.size() >= kMaxRenamePath) return ERROR_FILENAME_EXCED_RANGE;
  rename.info.ReplaceIfExists = TRUE;
  rename.info.FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
  std::memcpy(rename.info.FileName, name.c_str(), (name.size() + 1) * sizeof(wchar_t));
  if (!FlushFileBuffers(file_) ||
      !SetFileInformationByHandle(file_, FileRenameInfo, &rename, sizeof rename)) {
    return static_cast<int>(GetLastError());
  }
  return SystemError::kSuccess;
}

int Win32FileChannel::Discard() {
  if (file_ == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  FILE_DISPOSITION_INFO disposition{TRUE};
  const int result =
      SetFileInformationByHandle(file_, FileDispositionInfo, &disposition, sizeof disposition)
          ? SystemError::kSuccess
          : static_cast<int>(GetLastError());
  Close();
  return result;
}

bool Win32FileChannel::Close() {
  if (file_ == INVALID_HANDLE_VALUE) return true;
  const bool closed = CloseHandle(file_) != FALSE;
  file_ = INVALID_HANDLE_VALUE;
  return closed;
}

}  // namespace platform::win32
