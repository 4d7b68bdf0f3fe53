#include "platform/win32/win32_lz.h"

#include "platform/win32/failure_report.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_file_channel.h"

namespace platform::win32 {

namespace {

// lz32 takes the handles of the 16-bit file calls, which on 32- and 64-bit Windows are the
// system's own file handles; those always fit in 32 bits.
INT LzHandle(HANDLE file) { return static_cast<INT>(reinterpret_cast<INT_PTR>(file)); }

// The backend's channels are all its own.
HANDLE HandleOf(FileChannel& channel) { return static_cast<Win32FileChannel&>(channel).Handle(); }

}  // namespace

const Win32Lz::Library& Win32Lz::Functions() {
  if (loaded_) return library_;
  HMODULE module = LoadSystemLibrary(L"lz32.dll");
  library_.init = SystemFunction<decltype(library_.init)>(module, "LZInit");
  library_.copy = SystemFunction<decltype(library_.copy)>(module, "LZCopy");
  library_.close = SystemFunction<decltype(library_.close)>(module, "LZClose");
  if (library_.init == nullptr || library_.copy == nullptr || library_.close == nullptr) {
    EndWithFailure("The LZ expansion library (lz32.dll) could not be loaded.");
  }
  loaded_ = true;
  return library_;
}

// lz32 reads through a duplicate of the channel's handle, which LZClose closes; it starts at
// the file's first byte, where the duplicate, sharing the position, is put first.
std::int32_t Win32Lz::Init(FileChannel& source) {
  const Library& library = Functions();
  HANDLE own = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), HandleOf(source), GetCurrentProcess(), &own, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return LzError::kBadInHandle;
  }
  const INT handle = SetFilePointerEx(own, LARGE_INTEGER{}, nullptr, FILE_BEGIN)
                         ? library.init(LzHandle(own))
                         : LzError::kBadInHandle;
  if (handle < 0) CloseHandle(own);
  return handle;
}

std::int32_t Win32Lz::Copy(std::int32_t source, FileChannel& destination) {
  return Functions().copy(source, LzHandle(HandleOf(destination)));
}

void Win32Lz::Close(std::int32_t handle) { Functions().close(handle); }

}  // namespace platform::win32
