#include "tests/support/mapped_drives.h"

#include <unistd.h>

#include <fstream>
#include <stdexcept>

namespace ui_test {

namespace fs = std::filesystem;

platform::DiskSpace SpaceOfKB(std::uint32_t kilobytes) { return {1, 1024, kilobytes, kilobytes}; }

MappedDrives::MappedDrives(platform::portable::PortableFileSystem& files) : files_(files) {
  static int made = 0;
  root_ = fs::temp_directory_path() /
          ("pelmora-ui-" + std::to_string(::getpid()) + "-" + std::to_string(++made));
  fs::remove_all(root_);
  fs::create_directories(root_);
}

MappedDrives::~MappedDrives() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

platform::portable::DriveSetup& MappedDrives::Add(char letter, std::uint32_t type,
                                                  std::uint32_t freeKB, std::string label) {
  const fs::path host = root_ / std::string(1, letter);
  fs::create_directories(host);
  platform::portable::DriveSetup drive{host, type, SpaceOfKB(freeKB), std::move(label)};
  files_.MapDrive(letter, drive);
  return files_.Drive(letter);
}

fs::path MappedDrives::Host(const std::string& path) const {
  const auto host = files_.HostPath(path);
  if (!host) throw std::invalid_argument("not on a mapped drive: " + path);
  return *host;
}

void MappedDrives::MakeFolder(const std::string& path) { fs::create_directories(Host(path)); }

void MappedDrives::MakeFile(const std::string& path) { std::ofstream(Host(path)) << "x"; }

bool MappedDrives::IsFolder(const std::string& path) const { return fs::is_directory(Host(path)); }

int MappedDrives::FolderCount() const {
  int count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root_)) count += entry.is_directory();
  return count;
}

}  // namespace ui_test
