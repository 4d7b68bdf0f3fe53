#include "demo/common/own_folder.h"

namespace demo {

WidePath OwnPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  WidePath own;
  if (length == 0 || length >= MAX_PATH) {
    own.MarkIncomplete();  // a longer path comes back cut
  } else {
    own.Append(std::wstring_view(path, length));
  }
  return own;
}

WidePath OwnFolder() { return FolderOf(OwnPath()); }

WidePath FolderOf(const WidePath& path) {
  const std::wstring_view text = path.view();
  WidePath folder(Prefix(text, text.find_last_of(L'\\')));
  if (!path.complete()) folder.MarkIncomplete();
  return folder;
}

WidePath PathIn(const WidePath& folder, std::string_view name) {
  WidePath path = folder;
  path.Append(L'\\');
  AppendWide(path, name);
  return path;
}

}  // namespace demo
