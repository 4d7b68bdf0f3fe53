#include "platform/win32/ansi_path.h"

#include <windows.h>

namespace platform::win32 {

namespace {

std::wstring ShortPath(const std::wstring& path) {
  std::wstring shortPath(MAX_PATH, L'\0');
  DWORD length =
      GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length >= shortPath.size()) {
    shortPath.resize(length);
    length =
        GetShortPathNameW(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  }
  shortPath.resize(length < shortPath.size() ? length : 0);
  return shortPath;
}

bool AnsiSpells(const std::wstring& path) {
  const UINT codePage = GetACP();
  BOOL lossy = FALSE;
  // The UTF-8 code page spells everything and takes no flags.
  const int bytes =
      WideCharToMultiByte(codePage, codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS, path.c_str(),
                          -1, nullptr, 0, nullptr, codePage == CP_UTF8 ? nullptr : &lossy);
  return bytes > 0 && !lossy;
}

}  // namespace

std::wstring AnsiCompatiblePath(const std::wstring& path) {
  if (AnsiSpells(path)) return path;
  const std::wstring shortPath = ShortPath(path);
  return !shortPath.empty() && AnsiSpells(shortPath) ? shortPath : path;
}

}  // namespace platform::win32
