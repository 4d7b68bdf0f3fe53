#pragma once
// A file opened for raw byte access.
#include <windows.h>

#include "platform/services/file_system.h"

namespace platform::win32 {

class Win32FileChannel : public FileChannel {
 public:
  explicit Win32FileChannel(HANDLE file) : file_(file) {}
  ~Win32FileChannel() override;
  Win32FileChannel(const Win32FileChannel&) = delete;
  Win32FileChannel& operator=(const Win32FileChannel&) = delete;

  std::int64_t Length() override;
  bool ReadAt(std::int64_t offset, std::uint8_t* buffer, std::size_t count) override;
  bool Write(const std::uint8_t* data, std::size_t count) override;
  int MoveTo(const std::string& path) override;
  int Discard() override;
  bool Close() override;

  // The system's handle, for the backend's own calls that take one (lz32).
  HANDLE Handle() const { return file_; }

 private:
  HANDLE file_;
};

}  // namespace platform::win32
