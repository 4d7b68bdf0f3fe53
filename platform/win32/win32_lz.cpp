#include "platform/win32/win32_lz.h"

#include "platform/win32/ansi_path.h"
#include "platform/win32/failure_report.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

// OpenFile, which lz32 opens files with, takes ANSI paths shorter than its record's 128
// bytes. A path beyond that goes by its short form; only an existing file has one, so a file
// to be created is created empty first.
std::wstring PathForLz(const std::wstring& path, std::uint16_t style) {
  if (AnsiSpells(path, OFS_MAXPATHNAME)) return path;
  if ((style & LzStyle::kCreate) != 0) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
  return AnsiCompatiblePath(path, OFS_MAXPATHNAME);
}

}  // namespace

const Win32Lz::Library& Win32Lz::Functions() {
  if (loaded_) return library_;
  HMODULE module = LoadSystemLibrary(L"lz32.dll");
  library_.open = SystemFunction<decltype(library_.open)>(module, "LZOpenFileW");
  library_.copy = SystemFunction<decltype(library_.copy)>(module, "LZCopy");
  library_.close = SystemFunction<decltype(library_.close)>(module, "LZClose");
  if (library_.open == nullptr || library_.copy == nullptr || library_.close == nullptr) {
    EndWithFailure("The LZ expansion library (lz32.dll) could not be loaded.");
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
