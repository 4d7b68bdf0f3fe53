#pragma once
// The LZ expansion library of the system (lz32.dll), loaded from the system folder when
// first used, so that the program imports nothing but the core system DLLs. It gets the
// handles of files that the program opened itself, never a name to open.
#include <windows.h>

#include "platform/services/lz_api.h"

namespace platform::win32 {

class Win32Lz : public LzApi {
 public:
  std::int32_t Init(FileChannel& source) override;
  std::int32_t Copy(std::int32_t source, FileChannel& destination) override;
  void Close(std::int32_t handle) override;

 private:
  struct Library {
    INT(WINAPI* init)(INT);
    LONG(WINAPI* copy)(INT, INT);
    void(WINAPI* close)(INT);
  };
  // Loads lz32 on first use; a system without it is a platform failure.
  const Library& Functions();

  Library library_{};
  bool loaded_ = false;
};

}  // namespace platform::win32
