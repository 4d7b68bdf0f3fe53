#include "app/free_space_check.h"

#include <algorithm>
#include <limits>

#include "platform/text/text.h"

namespace app {

namespace {

constexpr std::uint64_t kKilobyte = 1024;

bool HasDriveLetter(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

// What a file of `bytes` bytes takes of a drive whose clusters hold `cluster` bytes.
std::uint64_t InWholeClusters(std::uint32_t bytes, std::uint32_t cluster) {
  const std::uint32_t clusters = bytes / cluster + (bytes % cluster != 0 ? 1 : 0);
  return std::uint64_t{clusters} * cluster;
}

std::int32_t ClampedKB(std::uint64_t kilobytes) {
  return static_cast<std::int32_t>(
      std::min<std::uint64_t>(kilobytes, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::optional<SpaceShortfall> FindSpaceShortfall(platform::FileSystem& files,
                                                 const std::string& destination,
                                                 const std::string& temporaryFolder,
                                                 const setup_file::ItemTable& table) {
  if (!HasDriveLetter(destination)) return std::nullopt;
  const std::string drive = destination.substr(0, 2);
  platform::DiskSpace space;
  if (!files.DiskFreeSpace(drive + "\\", space)) return std::nullopt;
  // A drive that tells no cluster size, or one beyond any file system's, is not judged.
  const std::uint64_t clusterSize = std::uint64_t{space.sectorsPerCluster} * space.bytesPerSector;
  if (clusterSize == 0 || clusterSize > std::numeric_limits<std::uint32_t>::max())
    return std::nullopt;
  const auto cluster = static_cast<std::uint32_t>(clusterSize);

  const bool itemsOnTheSameDrive = platform::StartsWithIgnoringCase(temporaryFolder, drive);
  std::uint64_t needed = 0;
  for (const setup_file::ItemRecord& item : table) {
    needed += InWholeClusters(item.expandedLength, cluster);
    if (itemsOnTheSameDrive)
      needed += InWholeClusters(static_cast<std::uint32_t>(item.size), cluster);
  }
  const std::uint64_t available = std::uint64_t{space.freeClusters} * cluster;
  if (available >= needed) return std::nullopt;
  return SpaceShortfall{drive, ClampedKB((needed + kKilobyte - 1) / kKilobyte),
                        ClampedKB(available / kKilobyte)};
}

}  // namespace app
