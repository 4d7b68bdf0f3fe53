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
constexpr int kStoppedOnLink = 681;  // a link stands where a file of ours was to be made
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
  kRead,       // an existing file, read only; others may read it too, but nobody may write,
               // delete or rename it while it is open
  kCreateNew,  // a new file, written and read back: a name that exists already, a link too,
               // fails with kFileExists; nobody else may open it while it is open
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
  // Gives the open file the name `path` on its own drive, in place of a file there (of the
  // link itself, when that is one), once its bytes are on the disk; it stays open. Returns 0 or
  // the error code: a file at `path` that is open, read-only or a folder is not replaced.
  virtual int MoveTo(const std::string& path) = 0;
  // Deletes the open file through its handle, never by its name, which another program may
  // have made a link, and closes it. Returns 0 or the error code; the file is closed either way.
  virtual int Discard() = 0;
  // Closes the file; false when data could not be written.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The entry's attributes, or Attribute::kNoEntry when nothing exists at the path.
  virtual std::uint32_t GetAttributes(const std::string& path) = 0;
  // Creates one folder (its parent must exist); returns 0 or the error code. When the
  // program runs elevated, the folder is as Program Files is: administrators and the system
  // change it, users read and run what it holds.
  virtual int MkDir(const std::string& path) = 0;
  // Creates a fresh folder of the program's own in `parent`: its name is `prefix`, a dash and
  // characters that nobody can guess beforehand, and a folder that exists is never taken
  // over. When the program runs elevated, only administrators and the system can open it.
  // Returns its path, or an empty text and sets `error`.
  virtual std::string MakeOwnFolder(const std::string& parent, const std::string& prefix,
                                    int& error) = 0;
  // Removes an empty folder; returns 0 or the error code.
  virtual int RmDir(const std::string& path) = 0;
  // Whether the entry at `path` is a link: a symbolic link, a junction or another reparse
  // point, or a file with more than one name (hard links).
  virtual bool IsLink(const std::string& path) = 0;
  // The length of the file at `path` as its folder entry tells it, without opening the file;
  // -1 when nothing is there, it is a folder, or the system cannot tell.
  virtual std::int64_t FileLength(const std::string& path) = 0;
  // Opens a raw byte channel; on failure returns null and sets `error`.
  virtual std::unique_ptr<FileChannel> Open(const std::string& path, ChannelMode mode,
                                            int& error) = 0;
  // The name of a program that holds the file at `path` open, as the system's Restart Manager
  // names it; empty when none does or the system cannot tell.
  virtual std::string FileHolder(const std::string& path) = 0;

  // The temporary folder that the program can trust, with its trailing "\", or an empty
  // text: the user's (GetTempPath), or, when the program runs elevated, the system's (the
  // Windows folder's Temp), where programs without elevation cannot change what it makes.
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

  // The Programs folder of every user's Start menu, without a trailing "\"; empty when the
  // system cannot tell.
  virtual std::string CommonProgramsFolder() = 0;
  // Saves a shell link at `path` that starts `target`, in place of an earlier link file of
  // that name; returns 0 or the error code.
  virtual int MakeShellLink(const std::string& path, const std::string& target) = 0;
};

// Is there an entry at `path` that a search with these attributes finds? Ordinary files
// are always found; folders only with kDirectory; hidden or system entries only with
// their attribute in the mask.
bool Exists(FileSystem& files, const std::string& path, std::uint32_t attributes);

}  // namespace platform
