#include "platform/win32/module_path.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace platform::win32 {

std::string ModulePath() {
  // The path can be longer than MAX_PATH: grow the buffer until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return Utf8(std::wstring_view(path.data(), length));
    path.resize(path.size() * 2);
  }
}

std::string FolderOf(std::string_view path) {
  const auto cut = path.find_last_of("\\/");
  if (cut == std::string_view::npos) return {};
  std::string folder(path.substr(0, cut));
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

}  // namespace platform::win32
