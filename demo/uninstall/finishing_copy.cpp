#include "demo/uninstall/finishing_copy.h"

#include <shellapi.h>

#include <cstdint>
#include <cstdlib>  // _ui64tow, _wcstoui64: imported from msvcrt.dll, not linked in
#include <cwchar>

#include "demo/common/own_folder.h"
#include "demo/uninstall/private_folder.h"
#include "product/pelmora.h"

namespace demo {
namespace {

constexpr wchar_t kFinishSwitch[] = L"/finish";
constexpr DWORD kOriginalEndTimeoutMs = 60000;

using CommandLine = FixedString<wchar_t, 2 * MAX_PATH + 64>;

bool CopyContents(HANDLE source, HANDLE target) {
  char buffer[8192];
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(source, buffer, sizeof(buffer), &count, nullptr)) return false;
    if (count == 0) return true;
    DWORD written = 0;
    if (!WriteFile(target, buffer, count, &written, nullptr) || written != count) return false;
  }
}

// Writes this program's file to `copy`, a new file, never a name that exists.
bool WriteCopy(const WidePath& copy) {
  const WidePath own = OwnPath();
  if (!own.complete()) return false;
  HANDLE source = CreateFileW(own.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (source == INVALID_HANDLE_VALUE) return false;
  HANDLE target = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  const bool written = target != INVALID_HANDLE_VALUE && CopyContents(source, target);
  if (target != INVALID_HANDLE_VALUE) CloseHandle(target);
  CloseHandle(source);
  return written;
}

// The copy's file, open for deletion when its last handle closes. The loader opens it for
// reading and shares reading and deleting, and no file with a writer can be started: so this
// handle may delete and shares reading only, and nobody can write, rename or delete the file
// while it is open.
HANDLE HoldForDeletionOnClose(const WidePath& path) {
  SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
  return CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ, &inheritable, OPEN_EXISTING,
                     FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// A handle to this process that the copy inherits and waits on.
HANDLE InheritableSelf() {
  HANDLE self = nullptr;
  DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                  SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, TRUE, 0);
  return self;
}

void AppendHandle(CommandLine& commandLine, HANDLE handle) {
  wchar_t number[24];
  _ui64tow(reinterpret_cast<std::uintptr_t>(handle), number, 10);
  commandLine.Append(L' ').Append(number);
}

HANDLE HandleFrom(const wchar_t* number) {
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(_wcstoui64(number, nullptr, 10)));
}

bool Start(const WidePath& copy, HANDLE original, HANDLE copyFile, const WidePath& folder) {
  CommandLine commandLine;
  commandLine.Append(L'"').Append(copy.view()).Append(L"\" ").Append(kFinishSwitch);
  AppendHandle(commandLine, original);
  AppendHandle(commandLine, copyFile);
  commandLine.Append(L" \"").Append(folder.view()).Append(L'"');
  if (!commandLine.complete()) return false;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  // The copy works from the temporary folder above its own, so that no process holds the
  // product's folder or the copy's.
  const WidePath workingFolder = FolderOf(FolderOf(copy));
  if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      workingFolder.c_str(), &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// Renames the open `file` to `path`, which must not exist.
bool Rename(HANDLE file, const WidePath& path) {
  // The name may reach the system as it is: the NT form of a full path needs no conversion.
  constexpr std::size_t kRoom = MAX_PATH + 4;
  FixedString<wchar_t, kRoom> name;
  name.Append(L"\\??\\").Append(path.view());
  alignas(FILE_RENAME_INFO) unsigned char
      buffer[sizeof(FILE_RENAME_INFO) + kRoom * sizeof(wchar_t)] = {};
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer);
  rename->FileNameLength = static_cast<DWORD>(name.view().size() * sizeof(wchar_t));
  std::char_traits<wchar_t>::copy(rename->FileName, name.c_str(), name.view().size() + 1);
  return path.complete() && name.complete() &&
         SetFileInformationByHandle(file, FileRenameInfo, rename, sizeof(buffer)) != FALSE;
}

}  // namespace

bool StartFinishingCopy(const WidePath& folder) {
  const WidePath privateFolder = NewPrivateFolder();
  if (privateFolder.empty()) return false;
  const WidePath copy = PathIn(privateFolder, product::kUninstaller.installedName);
  HANDLE copyFile = WriteCopy(copy) ? HoldForDeletionOnClose(copy) : INVALID_HANDLE_VALUE;
  bool started = false;
  if (copyFile == INVALID_HANDLE_VALUE) {
    DeleteFileW(copy.c_str());
  } else {
    HANDLE self = InheritableSelf();
    started = self != nullptr && Start(copy, self, copyFile, folder);
    if (self != nullptr) CloseHandle(self);
    CloseHandle(copyFile);  // when the copy did not start, this deletes its file
  }
  if (!started) RemoveDirectoryW(privateFolder.c_str());
  return started;
}

std::optional<Takeover> TakeOverFromOriginal() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return std::nullopt;
  std::optional<Takeover> takeover;
  if (count == 5 && std::wcscmp(arguments[1], kFinishSwitch) == 0) {
    const HANDLE original = HandleFrom(arguments[2]);
    // Only a copy that really inherited the original's handle goes on without asking.
    if (GetProcessId(original) != 0) {
      WaitForSingleObject(original, kOriginalEndTimeoutMs);
      CloseHandle(original);
      takeover = Takeover{WidePath(arguments[4]), HandleFrom(arguments[3])};
    }
  }
  LocalFree(arguments);
  return takeover;
}

void LeavePrivateFolder(HANDLE ownFile) {
  const WidePath folder = OwnFolder();
  const bool removed = Rename(ownFile, RandomPathIn(FolderOf(folder), L".tmp")) &&
                       RemoveDirectoryW(folder.c_str()) != FALSE;
  if (!removed) MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

}  // namespace demo
