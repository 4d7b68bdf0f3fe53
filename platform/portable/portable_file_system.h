#pragma once
// The file system of the portable platform: drive letters mapped to host folders, each
// with its own drive type, free space and label. Path components are resolved without
// regard to letter case, as Windows does; attributes that a host file system lacks
// (hidden, system, read-only) are kept beside it.
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "platform/portable/fault_plan.h"
#include "platform/services/file_system.h"

namespace platform::portable {

// Who may open a folder that the program made (kInherited: whoever may open its parent).
enum class FolderAccess { kInherited, kProgramFiles, kAdministratorsOnly };

struct DriveSetup {
  std::filesystem::path hostRoot;  // the host folder that holds the drive's root
  std::uint32_t type = DriveKind::kFixed;
  DiskSpace space{8, 512, 1u << 20, 1u << 21};  // 4 GiB free of 8
  std::string label;
  std::string currentFolder = "\\";  // below the root, as the system keeps one per drive
  bool ready = true;                 // an empty diskette drive is not ready
};

// The portable platform's ANSI code page holds the first 256 code points (Latin-1): does it
// spell the UTF-8 `text`?
bool InAnsiCodePage(std::string_view text);

// The short (8.3) name that the portable file system gives a name that is no 8.3 name of
// ASCII letters and digits: "Program Files" is "PROGRA~1", "Uninstall PLM.exe" is
// "UNINST~1.EXE". Names that collide are not told apart.
std::string ShortName(std::string_view name);

class PortableFileSystem : public FileSystem {
 public:
  explicit PortableFileSystem(FaultPlan& faults) : faults_(faults) {}
  ~PortableFileSystem() override;

  // Setting up.
  void MapDrive(char letter, DriveSetup drive);
  DriveSetup& Drive(char letter);
  // The temporary folder that the program can trust; it stands for the user's and, for an
  // elevated program, the system's.
  void SetTempPath(std::string path) { tempPath_ = std::move(path); }
  // Where the Start menu of every user keeps its programs; empty: the system cannot tell.
  void SetCommonProgramsFolder(std::string path) { commonPrograms_ = std::move(path); }
  // Whether the program runs elevated: the folders it makes are then protected.
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // The access of a folder that the program made, as it asked for it.
  FolderAccess AccessOf(const std::string& path) const;
  // Marks an entry hidden, system or read-only (Attribute bits).
  void SetAttributes(const std::string& path, std::uint32_t attributes);
  // Another program holds the file at `path` open, as a running program holds its own file:
  // nothing takes its place until it lets it go. FileHolder names `program`; an empty name is
  // a holder that the system cannot tell.
  void HoldElsewhere(const std::string& path, std::string program);
  void ReleaseElsewhere(const std::string& path);

  // Whether an entry exists, as another program (the shell) would see it: no fault of ours.
  bool EntryExists(const std::string& path) const;

  // The host path that a Windows path stands for, or nothing when it names no drive.
  std::optional<std::filesystem::path> HostPath(const std::string& path) const;

  // FileSystem.
  std::uint32_t GetAttributes(const std::string& path) override;
  int MkDir(const std::string& path) override;
  std::string MakeOwnFolder(const std::string& parent, const std::string& prefix,
                            int& error) override;
  int RmDir(const std::string& path) override;
  bool IsLink(const std::string& path) override;
  std::int64_t FileLength(const std::string& path) override;
  std::unique_ptr<FileChannel> Open(const std::string& path, ChannelMode mode, int& error) override;
  std::string FileHolder(const std::string& path) override;
  std::string TempPath() override;
  std::uint32_t DriveType(const std::string& root) override;
  bool DiskFreeSpace(const std::string& root, DiskSpace& space) override;
  std::uint32_t LogicalDrives() override;
  std::string VolumeLabel(const std::string& root) override;
  std::string FullPath(const std::string& path) override;
  bool ListFolders(const std::string& path, std::vector<std::string>& names) override;
  std::string AnsiPath(const std::string& path) override;
  std::string CommonProgramsFolder() override;
  // A shell link here is a file that holds its target's path.
  int MakeShellLink(const std::string& path, const std::string& target) override;

 private:
  friend class PortableChannel;
  struct Resolved {
    std::filesystem::path host;
    std::string key;  // the full Windows path, folded to lower case: names an entry
    char drive = 0;
  };
  // Resolves a Windows path; on failure returns nothing and sets `error`.
  std::optional<Resolved> Resolve(const std::string& path, int& error) const;
  std::uint32_t ExtraAttributes(const std::string& key) const;
  void Released(const std::string& key, ChannelMode mode);
  // Renames an open new file's entry from `from` to `to`; 0 or the error code.
  int Move(const std::string& fromKey, const std::filesystem::path& fromHost,
           const std::string& to, std::string& toKey, std::filesystem::path& toHost);
  bool IsOpen(const std::string& key) const;
  const DriveSetup* FindDrive(char letter) const;

  FaultPlan& faults_;
  std::map<char, DriveSetup> drives_;
  std::map<std::string, std::uint32_t> extraAttributes_;
  std::map<std::string, int> readers_;  // open read channels, by entry
  std::set<std::string> writers_;       // open new files
  std::map<std::string, std::string> heldElsewhere_;  // by entry: the program that holds it
  std::map<std::string, FolderAccess> folderAccess_;
  std::string tempPath_ = "C:\\Temp\\";
  std::string commonPrograms_ = "C:\\ProgramData\\Start Menu\\Programs";
  bool elevated_ = false;
};

}  // namespace platform::portable
