#pragma once
// The file system through the system's wide calls.
#include "platform/services/file_system.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
 public:
  std::uint32_t GetAttributes(const std::string& path) override;
  int MkDir(const std::string& path) override;
  std::string MakeOwnFolder(const std::string& parent, const std::string& prefix,
                            int& error) override;
  int RmDir(const std::string& path) override;
  bool IsLink(const std::string& path) override;
  std::int64_t FileLength(const std::string& path) override;
  std::unique_ptr<FileChannel> Open(const std::string& path, ChannelMode mode, int& error) override;
  // Through the Restart Manager (win32_file_holder.cpp).
  std::string FileHolder(const std::string& path) override;
  std::string TempPath() override;
  std::uint32_t DriveType(const std::string& root) override;
  bool DiskFreeSpace(const std::string& root, DiskSpace& space) override;
  std::uint32_t LogicalDrives() override;
  std::string VolumeLabel(const std::string& root) override;
  std::string FullPath(const std::string& path) override;
  bool ListFolders(const std::string& path, std::vector<std::string>& names) override;
  std::string AnsiPath(const std::string& path) override;
  // Through the shell (win32_shell_link.cpp).
  std::string CommonProgramsFolder() override;
  int MakeShellLink(const std::string& path, const std::string& target) override;
};

}  // namespace platform::win32
