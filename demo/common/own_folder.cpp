#include "demo/common/own_folder.h"

#include <windows.h>

#include "demo/common/wide_text.h"

namespace demo {

std::wstring OwnPath() {
  // Long paths can exceed MAX_PATH; grow the buffer until the whole name fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring OwnFolder() {
  const std::wstring path = OwnPath();
  return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring PathIn(const std::wstring& folder, std::string_view name) {
  return folder + L'\\' + ToWide(name);
}

}  // namespace demo
