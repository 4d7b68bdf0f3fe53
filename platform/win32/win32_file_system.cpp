#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/ansi_path.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_channel.h"

namespace platform::win32 {

namespace {

int LastError() { return static_cast<int>(GetLastError()); }

int ResultOf(BOOL succeeded) { return succeeded ? SystemError::kSuccess : LastError(); }

std::wstring FolderOfPattern(const std::wstring& pattern) {
  const auto cut = pattern.find_last_of(L"\\/");
  return cut == std::wstring::npos ? std::wstring() : pattern.substr(0, cut + 1);
}

}  // namespace

std::uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes == INVALID_FILE_ATTRIBUTES ? Attribute::kNoEntry : attributes;
}

int Win32FileSystem::MkDir(const std::string& path) {
  return ResultOf(CreateDirectoryW(Wide(path).c_str(), nullptr));
}

int Win32FileSystem::RmDir(const std::string& path) {
  return ResultOf(RemoveDirectoryW(Wide(path).c_str()));
}

// Deletes every file that matches and tries them all; reports the first failure.
int Win32FileSystem::Kill(const std::string& pattern) {
  const std::wstring widePattern = Wide(pattern);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(widePattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    const int error = LastError();
    return error == ERROR_NO_MORE_FILES ? SystemError::kFileNotFound : error;
  }
  const std::wstring folder = FolderOfPattern(widePattern);
  bool matched = false;
  int firstError = SystemError::kSuccess;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    matched = true;
    const int result = ResultOf(DeleteFileW((folder + found.cFileName).c_str()));
    if (firstError == SystemError::kSuccess) firstError = result;
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return matched ? firstError : SystemError::kFileNotFound;
}

// Written through, so that the new file is on the disk before the old one is gone.
int Win32FileSystem::Rename(const std::string& from, const std::string& to) {
  return ResultOf(MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

// Reading shares the file with other readers; writing locks it, creates it when missing
// and empties it, so that the new content starts at its first byte and nothing old follows.
std::unique_ptr<FileChannel> Win32FileSystem::Open(const std::string& path, ChannelMode mode,
                                                   int& error) {
  const bool reading = mode == ChannelMode::kRead;
  HANDLE file = CreateFileW(Wide(path).c_str(), reading ? GENERIC_READ : GENERIC_WRITE,
                            reading ? FILE_SHARE_READ : 0, nullptr,
                            reading ? OPEN_EXISTING : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error = LastError();
    return nullptr;
  }
  if (!reading && !SetEndOfFile(file)) {
    error = LastError();
    CloseHandle(file);
    return nullptr;
  }
  error = SystemError::kSuccess;
  return std::make_unique<Win32FileChannel>(file);
}

// Asks with a buffer as large as the system says it needs, however long the path.
std::string Win32FileSystem::TempPath() {
  std::wstring path;
  DWORD needed = GetTempPathW(0, nullptr);
  while (needed > path.size()) {
    path.resize(needed);
    needed = GetTempPathW(static_cast<DWORD>(path.size()), path.data());
    if (needed == 0) return {};
  }
  path.resize(needed);
  return Utf8(path);
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
