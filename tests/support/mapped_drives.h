#pragma once
// Drives of the portable file system for the chooser's tests, each over a fresh host
// folder that goes away with the test.
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/portable/portable_file_system.h"

namespace ui_test {

// Counts that give exactly `kilobytes` free: clusters of 1,024 bytes.
platform::DiskSpace SpaceOfKB(std::uint32_t kilobytes);

class MappedDrives {
 public:
  explicit MappedDrives(platform::portable::PortableFileSystem& files);
  ~MappedDrives();
  MappedDrives(const MappedDrives&) = delete;
  MappedDrives& operator=(const MappedDrives&) = delete;

  platform::portable::DriveSetup& Add(char letter, std::uint32_t type = platform::DriveKind::kFixed,
                                      std::uint32_t freeKB = 1000000, std::string label = "");
  // Creates a folder with its parents, or a file, at a Windows path on a mapped drive.
  void MakeFolder(const std::string& path);
  void MakeFile(const std::string& path);
  bool IsFolder(const std::string& path) const;
  // The number of folders on every drive together.
  int FolderCount() const;

 private:
  std::filesystem::path Host(const std::string& path) const;

  platform::portable::PortableFileSystem& files_;
  std::filesystem::path root_;
};

}  // namespace ui_test
