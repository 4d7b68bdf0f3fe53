#pragma once
// File operations of the runtime. Paths are Windows paths in UTF-8 ("C:\Temp\PLMTMP").
// Errors are the system's error codes (2 file not found, 3 path not found, 5 access denied, ...).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

namespace Attribute {
constexpr std::uint32_t kNormal = 0;
constexpr std::uint32_t kReadOnly = 1;
constexpr std::uint32_t kHidden = 2;
constexpr std::uint32_t kSystem = 4;
constexpr std::uint32_t kDirectory = 16;
constexpr std::uint32_t kArchive = 32;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;  // nothing exists at the path
}  // namespace Attribute

namespace SystemError {
constexpr int kSuccess = 0;
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kNotEnoughMemory = 8;
constexpr int kBadFormat = 11;
constexpr int kInvalidDrive = 15;
constexpr int kWriteProtect = 19;
constexpr int kNotReady = 21;
constexpr int kCrc = 23;
constexpr int kSectorNotFound = 27;
constexpr int kSharingViolation = 32;
constexpr int kHandleDiskFull = 39;
constexpr int kNetworkBusy = 54;
constexpr int kNetworkAccessDenied = 65;
constexpr int kFileExists = 80;
constexpr int kDiskFull = 112;
constexpr int kInvalidName = 123;
constexpr int kDirNotEmpty = 145;
constexpr int kAlreadyExists = 183;
}  // namespace SystemError

// Drive types, as GetDriveType reports them.
namespace DriveKind {
constexpr std::uint32_t kUnknown = 0;
constexpr std::uint32_t kNoRootDir = 1;
constexpr std::uint32_t kRemovable = 2;
constexpr std::uint32_t kFixed = 3;
constexpr std::uint32_t kRemote = 4;
constexpr std::uint32_t kCdRom = 5;
constexpr std::uint32_t kRamDisk = 6;
}  // namespace DriveKind

// The four counts of GetDiskFreeSpace, unsigned as the system gives them.
struct DiskSpace {
  std::uint32_t sectorsPerCluster = 0;
  std::uint32_t bytesPerSector = 0;
  std::uint32_t freeClusters = 0;
  std::uint32_t totalClusters = 0;
};

// How a raw byte channel is opened.
enum class ChannelMode {
  kRead,         // existing file, read only, others may read it too
  kWriteLocked,  // created, or emptied when it exists; nobody else may open it meanwhile
};

// An open file, accessed as raw bytes. Closed when destroyed.
class FileChannel {
 public:
  virtual ~FileChannel() = default;
  // The file's length in bytes, or -1 when it cannot be read.
  virtual std::int64_t Length() = 0;
  // Reads `count` bytes at the 0-based `offset`; false unless all of them were read.
  virtual bool ReadAt(std::int64_t offset, std::uint8_t* buffer, std::size_t count) = 0;
  // Writes at the current position (the file's first byte after opening); false on any error.
  virtual bool Write(const std::uint8_t* data, std::size_t count) = 0;
  // Closes the file; false when data could not be written.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The entry's attributes, or Attribute::kNoEntry when nothing exists at the path.
  virtual std::uint32_t GetAttributes(const std::string& path) = 0;
  // Creates one folder (its parent must exist); returns 0 or the error code.
  virtual int MkDir(const std::string& path) = 0;
  // Removes an empty folder; returns 0 or the error code.
  virtual int RmDir(const std::string& path) = 0;
  // Deletes every ordinary file matching the pattern ("C:\Temp\PLMTMP\*.*"); returns 0,
  // or the error code of the first failure (kFileNotFound when nothing matched).
  virtual int Kill(const std::string& pattern) = 0;
  // Puts the file at `from` in place of the one at `to` (MoveFileEx, replacing an existing
  // file); returns 0 or the error code. An existing file at `to` that is open, read-only or a
  // folder is not replaced.
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  // Opens a raw byte channel; on failure returns null and sets `error`.
  virtual std::unique_ptr<FileChannel> Open(const std::string& path, ChannelMode mode,
                                            int& error) = 0;

  // The system's temporary folder with its trailing "\" (GetTempPath), or an empty text.
  virtual std::string TempPath() = 0;
  // GetDriveType for a root such as "c:\".
  virtual std::uint32_t DriveType(const std::string& root) = 0;
  // GetDiskFreeSpace for a root such as "c:\"; false when the system cannot tell.
  virtual bool DiskFreeSpace(const std::string& root, DiskSpace& space) = 0;

  // The drives present: bit 0 for A, bit 2 for C, and so on (GetLogicalDrives).
  virtual std::uint32_t LogicalDrives() = 0;
  // The volume label of a root such as "c:\"; empty when it has none or cannot be read.
  virtual std::string VolumeLabel(const std::string& root) = 0;
  // The full path of a path that may be relative to its drive's current folder
  // ("c:" gives "C:\Games" when that is drive C's current folder); empty when it cannot be
  // resolved (GetFullPathName).
  virtual std::string FullPath(const std::string& path) = 0;
  // The path as a program that reads the system's ANSI code page can take it: unchanged
  // when the code page spells it, otherwise its short (8.3) form, where it has one.
  virtual std::string AnsiPath(const std::string& path) = 0;
  // The names of the folders inside a folder, sorted without regard to letter case;
  // false when the folder cannot be read.
  virtual bool ListFolders(const std::string& path, std::vector<std::string>& names) = 0;
};

// Is there an entry at `path` that a search with these attributes finds? Ordinary files
// are always found; folders only with kDirectory; hidden or system entries only with
// their attribute in the mask.
bool Exists(FileSystem& files, const std::string& path, std::uint32_t attributes);

}  // namespace platform
