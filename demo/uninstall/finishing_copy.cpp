#include "demo/uninstall/finishing_copy.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>  // _ui64tow, _wcstoui64: imported from msvcrt.dll, not linked in
#include <cwchar>

#include "demo/common/own_folder.h"

namespace demo {
namespace {

constexpr wchar_t kFinishSwitch[] = L"/finish";
constexpr DWORD kOriginalEndTimeoutMs = 60000;

// Empty when there is none.
WidePath TempFolder() {
  wchar_t folder[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  WidePath temp;
  if (length != 0 && length < MAX_PATH) temp.Append(std::wstring_view(folder, length));
  return temp;
}

// A new, empty file of a unique name in `temp`; empty when none could be made.
WidePath NewTempFile(const WidePath& temp) {
  wchar_t name[MAX_PATH];
  WidePath file;
  if (GetTempFileNameW(temp.c_str(), L"plm", 0, name) != 0) file.Append(name);
  return file;
}

// The file of the copy, open for deletion when its last handle closes.
HANDLE OpenForDeletionOnClose(const WidePath& path) {
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  // The loader maps the file while this handle is open: share reading, and deleting with it.
  return CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_DELETE, &inheritable,
                     OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// A handle to this process that the copy inherits and waits on.
HANDLE InheritableSelf() {
  HANDLE self = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                  SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0);
  return self;
}

bool Start(const WidePath& copy, HANDLE original, const WidePath& folder,
           const WidePath& workingFolder) {
  wchar_t handle[24];
  _ui64tow(reinterpret_cast<std::uintptr_t>(original), handle, 10);
  FixedString<wchar_t, 2 * MAX_PATH + 64> commandLine;
  commandLine.Append(L'"').Append(copy.view()).Append(L"\" ").Append(kFinishSwitch);
  commandLine.Append(L' ').Append(handle).Append(L" \"").Append(folder.view()).Append(L'"');
  if (!commandLine.complete()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // The copy works from the temporary folder, so that no process holds the product's folder.
  if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      workingFolder.c_str(), &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

bool StartFinishingCopy(const WidePath& folder) {
  const WidePath own = OwnPath();
  const WidePath temp = TempFolder();
  if (!own.complete() || temp.empty()) return false;
  const WidePath copy = NewTempFile(temp);
  if (copy.empty()) return false;
  HANDLE copyFile = CopyFileW(own.c_str(), copy.c_str(), FALSE) ? OpenForDeletionOnClose(copy)
                                                                : INVALID_HANDLE_VALUE;
  if (copyFile == INVALID_HANDLE_VALUE) {
    DeleteFileW(copy.c_str());
    return false;
  }
  HANDLE self = InheritableSelf();
  const bool started = self != nullptr && Start(copy, self, folder, temp);
  if (self != nullptr) CloseHandle(self);
  CloseHandle(copyFile);  // when the copy did not start, this deletes its file
  return started;
}

std::optional<WidePath> TakeOverFromOriginal() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return std::nullopt;
  std::optional<WidePath> folder;
  if (count == 4 && std::wcscmp(arguments[1], kFinishSwitch) == 0) {
    const auto original = reinterpret_cast<HANDLE>(
        static_cast<std::uintptr_t>(_wcstoui64(arguments[2], nullptr, 10)));
    // Only a copy that really inherited the original's handle goes on without asking.
    if (GetProcessId(original) != 0) {
      WaitForSingleObject(original, kOriginalEndTimeoutMs);
      CloseHandle(original);
      folder = WidePath(arguments[3]);
    }
  }
  LocalFree(arguments);
  return folder;
}

}  // namespace demo
