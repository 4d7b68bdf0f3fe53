#include "demo/uninstall/plain_names.h"

#include "demo/common/own_folder.h"

namespace demo {
namespace {

// Opens `path` itself, never what a link there names (where the system allows).
HANDLE OpenItself(const WidePath& path, DWORD access, DWORD flags,
                  BY_HANDLE_FILE_INFORMATION& info) {
  if (!path.complete()) return INVALID_HANDLE_VALUE;
  HANDLE handle =
      CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle != INVALID_HANDLE_VALUE && !GetFileInformationByHandle(handle, &info)) {
    CloseHandle(handle);
    return INVALID_HANDLE_VALUE;
  }
  return handle;
}

// A path as GetFinalPathNameByHandleW gives it: with "\\?\" in front.
constexpr DWORD kFinalPathRoom = MAX_PATH + 8;
using FinalPath = FixedString<wchar_t, kFinalPathRoom>;

// Where the file or folder open as `handle` lies, every link on the way resolved.
FinalPath FinalPathOf(HANDLE handle) {
  wchar_t text[kFinalPathRoom];
  const DWORD length =
      GetFinalPathNameByHandleW(handle, text, kFinalPathRoom, FILE_NAME_NORMALIZED);
  FinalPath path;
  if (length == 0 || length >= kFinalPathRoom) {
    path.MarkIncomplete();
  } else {
    path.Append(std::wstring_view(text, length));
  }
  return path;
}

// Where the files in `folder` lie when they are in it themselves; incomplete when `folder` is
// a link.
FinalPath FinalFolder(const WidePath& folder) {
  BY_HANDLE_FILE_INFORMATION info;
  HANDLE handle = IsPlainFolder(folder)
                      ? OpenItself(folder, FILE_READ_ATTRIBUTES, FILE_FLAG_BACKUP_SEMANTICS, info)
                      : INVALID_HANDLE_VALUE;
  FinalPath path;
  // What the handle has open must be a folder itself too: the name may have changed since.
  if (handle != INVALID_HANDLE_VALUE &&
      (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    path = FinalPathOf(handle);
  } else {
    path.MarkIncomplete();
  }
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  return path;
}

bool SamePath(const FinalPath& a, const FinalPath& b) {
  return a.complete() && b.complete() &&
         CompareStringOrdinal(a.c_str(), static_cast<int>(a.view().size()), b.c_str(),
                              static_cast<int>(b.view().size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

bool IsPlainFolder(const WidePath& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return path.complete() && attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
             FILE_ATTRIBUTE_DIRECTORY;
}

HANDLE OpenFileItself(const WidePath& path, DWORD access, BY_HANDLE_FILE_INFORMATION& info) {
  std::wstring_view name = path.view();
  const WidePath folder = FolderOf(path);
  name.remove_prefix(folder.view().size());  // the backslash and the name
  FinalPath expected = FinalFolder(folder);
  expected.Append(name);
  HANDLE file = expected.complete() ? OpenItself(path, access, 0, info) : INVALID_HANDLE_VALUE;
  if (file != INVALID_HANDLE_VALUE && ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
                                       !SamePath(FinalPathOf(file), expected))) {
    CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
  }
  return file;
}

bool IsLink(const BY_HANDLE_FILE_INFORMATION& info) {
  return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || info.nNumberOfLinks > 1;
}

}  // namespace demo
