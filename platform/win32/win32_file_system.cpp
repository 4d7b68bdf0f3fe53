#include "platform/win32/win32_file_system.h"

#include <windows.h>
#include <ntsecapi.h>

#include <algorithm>

#include "platform/win32/access_list.h"
#include "platform/win32/ansi_path.h"
#include "platform/win32/elevation.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_channel.h"

namespace platform::win32 {

namespace {

// Names that the system's random generator draws are tried this often before the folder
// counts as impossible to make; a name that exists already is a collision, or a trap.
constexpr int kOwnFolderAttempts = 8;

int LastError() { return static_cast<int>(GetLastError()); }

int ResultOf(BOOL succeeded) { return succeeded ? SystemError::kSuccess : LastError(); }

// Appends sixteen hexadecimal digits from the system's random generator to `name`; false when
// the system has none to give.
bool AppendRandomDigits(std::string& name) {
  unsigned char bytes[8];
  if (!RtlGenRandom(bytes, sizeof bytes)) return false;
  for (int digit = 0; digit < 16; ++digit)
    name += "0123456789abcdef"[(bytes[digit / 2] >> (digit % 2 == 0 ? 4 : 0)) & 15];
  return true;
}

// Makes a folder with the access that `elevatedAccess` gives when the program runs elevated,
// or the access that its parent passes on when it does not.
int MakeFolder(const std::string& path, const wchar_t* elevatedAccess) {
  AccessList access(elevatedAccess);
  SECURITY_ATTRIBUTES* const attributes = RunsElevated() ? access.Attributes() : nullptr;
  if (RunsElevated() && attributes == nullptr) return ERROR_INVALID_SECURITY_DESCR;
  return ResultOf(CreateDirectoryW(Wide(path).c_str(), attributes));
}

}  // namespace

std::uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? Attribute::kNoEntry : attributes;
}

int Win32FileSystem::MkDir(const std::string& path) { return MakeFolder(path, kProgramFilesAccess); }

std::string Win32FileSystem::MakeOwnFolder(const std::string& parent, const std::string& prefix,
                                           int& error) {
  const std::string named = parent + "\\" + prefix + "-";
  for (int attempt = 0; attempt < kOwnFolderAttempts; ++attempt) {
    std::string path = named;
    if (!AppendRandomDigits(path)) {
      error = LastError();
      return {};
    }
    error = MakeFolder(path, kAdministratorsOnly);
    if (error == SystemError::kSuccess) return path;
    if (error != SystemError::kAlreadyExists) return {};
  }
  return {};
}

int Win32FileSystem::RmDir(const std::string& path) {
  return ResultOf(RemoveDirectoryW(Wide(path).c_str()));
}

// The entry itself is asked, not what it leads to.
bool Win32FileSystem::IsLink(const std::string& path) {
  const std::wstring widePath = Wide(path);
  const DWORD attributes = GetFileAttributesW(widePath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
    return true;
  HANDLE entry = CreateFileW(widePath.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                             nullptr);
  if (entry == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION information{};
  const bool linked = GetFileInformationByHandle(entry, &information) &&
                      ((information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
                       information.nNumberOfLinks > 1);
  CloseHandle(entry);
  return linked;
}

std::int64_t Win32FileSystem::FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA entry;
  if (!GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &entry) ||
      (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return -1;
  }
  return static_cast<std::int64_t>(std::uint64_t{entry.nFileSizeHigh} << 32 | entry.nFileSizeLow);
}

// Reading shares the file with other readers only. A new file is created, never opened: a
// name that exists, a link among them, fails, so nothing is ever written through a link. It
// is locked while open, and may be given another name through its handle.
std::unique_ptr<FileChannel> Win32FileSystem::Open(const std::string& path, ChannelMode mode,
                                                   int& error) {
  const bool reading = mode == ChannelMode::kRead;
  HANDLE file = CreateFileW(Wide(path).c_str(),
                            reading ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE | DELETE,
                            reading ? FILE_SHARE_READ : 0, nullptr,
                            reading ? OPEN_EXISTING : CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError();
    return nullptr;
  }
  error = SystemError::kSuccess;
  return std::make_unique<Win32FileChannel>(file);
}

// Asks with a buffer as large as the system says it needs, however long the path. Elevated,
// the program keeps out of the user's temporary folder, which every program of the user's
// can change: the Windows folder's Temp lets them make their own files only.
std::string Win32FileSystem::TempPath() {
  const bool system = RunsElevated();
  const auto ask = [system](DWORD size, wchar_t* buffer) {
    return system ? GetSystemWindowsDirectoryW(buffer, size) : GetTempPathW(size, buffer);
  };
  std::wstring path;
  DWORD needed = ask(0, nullptr);
  while (needed > path.size()) {
    path.resize(needed);
    needed = ask(static_cast<DWORD>(path.size()), path.data());
    if (needed == 0) return {};
  }
  path.resize(needed);
  if (!system) return Utf8(path);
  if (!path.empty() && path.back() != L'\\') path += L'\\';
  return Utf8(path + L"Temp\\");
}

std::uint32_t Win32FileSystem::DriveType(const std::string& root) {
  return GetDriveTypeW(Wide(root).c_str());
}

bool Win32FileSystem::DiskFreeSpace(const std::string& root, DiskSpace& space) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceW(Wide(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters,
                         &totalClusters)) {
    return false;
  }
  space = {sectorsPerCluster, bytesPerSector, freeClusters, totalClusters};
  return true;
}

std::uint32_t Win32FileSystem::LogicalDrives() { return GetLogicalDrives(); }

std::string Win32FileSystem::VolumeLabel(const std::string& root) {
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(Wide(root).c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr,
                             nullptr, 0)) {
    return {};
  }
  return Utf8(label);
}

std::string Win32FileSystem::FullPath(const std::string& path) {
  const std::wstring widePath = Wide(path);
  std::wstring full;
  DWORD needed = GetFullPathNameW(widePath.c_str(), 0, nullptr, nullptr);
  while (needed > full.size()) {
    full.resize(needed);
    needed =
        GetFullPathNameW(widePath.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (needed == 0) return {};
  }
  full.resize(needed);
  return Utf8(full);
}

std::string Win32FileSystem::AnsiPath(const std::string& path) {
  return Utf8(AnsiCompatiblePath(Wide(path)));
}

// Hidden and system folders are left out, as the system's own folder lists do.
bool Win32FileSystem::ListFolders(const std::string& path, std::vector<std::string>& names) {
  names.clear();
  std::wstring folder = Wide(path);
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
  // A folder holds at least "." and ".."; only a drive root can hold nothing at all.
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  // The names in the order of the file system's case-blind comparison.
  const auto before = [](const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
  };
  std::vector<std::wstring> folders;
  constexpr DWORD kLeftOut = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
        (found.dwFileAttributes & kLeftOut) != 0 || name == L"." || name == L"..") {
      continue;
    }
    const auto place = std::upper_bound(folders.begin(), folders.end(), name, before);
    folders.insert(place, std::move(name));
  } while (FindNextFileW(search, &found));
  const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  for (const std::wstring& name : folders) names.push_back(Utf8(name));
  return complete;
}

}  // namespace platform::win32
