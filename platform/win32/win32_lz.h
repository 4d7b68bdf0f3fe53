#pragma once
// The LZ expansion library of the system (lz32.dll), loaded from the system folder when
// first used, so that the program imports nothing but the core system DLLs. lz32 opens
// files by ANSI paths of fewer than 128 characters underneath; a path beyond that goes to
// it by its short form.
#include <windows.h>

#include "platform/services/lz_api.h"

namespace platform::win32 {

class Win32Lz : public LzApi {
 public:
  std::int32_t OpenFile(const std::string& path, OfStruct& record, std::uint16_t style) override;
  std::int32_t Copy(std::int32_t source, std::int32_t destination) override;
  void Close(std::int32_t handle) override;

 private:
  struct Library {
    INT(WINAPI* open)(LPWSTR, LPOFSTRUCT, WORD);
    LONG(WINAPI* copy)(INT, INT);
    void(WINAPI* close)(INT);
  };
  // Loads lz32 on first use; a system without it is a platform failure.
  const Library& Functions();

  Library library_{};
  bool loaded_ = false;
};

}  // namespace platform::win32
