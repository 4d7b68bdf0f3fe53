#include "platform/win32/win32_lz.h"

#include "platform/failure.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

// Can OpenFile, which lz32 opens files with, take the path: in the ANSI code page exactly,
// and shorter than its record's 128 bytes?
bool OpenFileTakes(const std::wstring& path) {
  const UINT codePage = GetACP();
  BOOL lossy = FALSE;
  // The UTF-8 code page spells everything and takes no flags.
  const int bytes =
      WideCharToMultiByte(codePage, codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, path.c_str(),
                          -1, nullptr, 0, nullptr, codePage == CP_UTF8 ? nullptr : &lossy);
  return bytes > 0 && bytes <= OFS_MAXPATHNAME && !lossy;
}

// A path that OpenFile cannot take goes by its short (8.3) form, which it can. Only an
// existing file has one: a file to be created is created empty first.
std::wstring PathForLz(const std::wstring& path, std::uint16_t style) {
  if (OpenFileTakes(path)) return path;
  if ((style & LzStyle::kCreate) != 0) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  std::wstring shortPath(MAX_PATH, L'\0');
  DWORD length =
      GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length >= shortPath.size()) {
    shortPath.resize(length);
    length =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  }
  shortPath.resize(length < shortPath.size() ? length : 0);
  return !shortPath.empty() && OpenFileTakes(shortPath) ? shortPath : path;
}

}  // namespace

const Win32Lz::Library& Win32Lz::Functions() {
  if (loaded_) return library_;
  HMODULE module = LoadSystemLibrary(L"lz32.dll");
  library_.open = SystemFunction<decltype(library_.open)>(module, "LZOpenFileW");
  library_.copy = SystemFunction<decltype(library_.copy)>(module, "LZCopy");
  library_.close = SystemFunction<decltype(library_.close)>(module, "LZClose");
  if (library_.open == nullptr || library_.copy == nullptr || library_.close == nullptr) {
    throw PlatformFailure("The LZ expansion library (lz32.dll) could not be loaded.");
  }
  loaded_ = true;
  return library_;
}

std::int32_t Win32Lz::OpenFile(const std::string& path, OfStruct& record, std::uint16_t style) {
  std::wstring widePath = PathForLz(Wide(path), style);
  OFSTRUCT opened{};
  opened.cBytes = sizeof opened;
  const INT handle = Functions().open(widePath.data(), &opened, style);
  record.cBytes = opened.cBytes;
  record.fFixedDisk = opened.fFixedDisk;
  record.nErrCode = opened.nErrCode;
  return handle;
}

std::int32_t Win32Lz::Copy(std::int32_t source, std::int32_t destination) {
  return Functions().copy(source, destination);
}

void Win32Lz::Close(std::int32_t handle) { Functions().close(handle); }

}  // namespace platform::win32
