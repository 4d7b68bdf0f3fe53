#include "app/free_space_check.h"

#include <algorithm>
#include <limits>

#include "platform/text/text.h"
#include "product/pelmora.h"

namespace app {

namespace {

constexpr std::uint64_t kKilobyte = 1024;

bool HasDriveLetter(const std::string& path) { return path.size() >= 2 && path[1] == ':'; }

// The clusters that a file of `bytes` bytes takes of a drive whose clusters hold `cluster`.
std::int64_t Clusters(std::uint32_t bytes, std::uint32_t cluster) {
  return bytes / cluster + (bytes % cluster != 0 ? 1 : 0);
}

// The clusters that the installed file at `path` gives back once a new one takes its place.
// A link gives none: its bytes stay with its other name, or lie elsewhere. Nor does a folder,
// which the new file does not replace, or a file whose length the system cannot tell. One
// of 4 GiB or more is counted as giving back no more than 4 GiB.
std::int64_t ClustersReplaced(platform::FileSystem& files, const std::string& path,
                              std::uint32_t cluster) {
  if (files.IsLink(path)) return 0;
  const std::int64_t length = files.FileLength(path);
  if (length < 0) return 0;
  return Clusters(static_cast<std::uint32_t>(
                      std::min<std::int64_t>(length, std::numeric_limits<std::uint32_t>::max())),
                  cluster);
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

  // The run item by item, as the drive sees it: what it holds beyond what it holds now
  // (less, once larger files are replaced), and the most it holds at any moment.
  const bool itemsOnTheSameDrive = platform::StartsWithIgnoringCase(temporaryFolder, drive);
  const std::string folder = destination + "\\";
  std::int64_t added = 0;
  std::int64_t needed = 0;
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
    if (itemsOnTheSameDrive)
      added += Clusters(static_cast<std::uint32_t>(table[item].size), cluster);
    added += Clusters(table[item].expandedLength, cluster);
    needed = std::max(needed, added);
    std::string installed = folder;
    installed += product::kProductFiles[item].installedName;
    added -= ClustersReplaced(files, installed, cluster);
  }
  if (needed <= std::int64_t{space.freeClusters}) return std::nullopt;
  const std::uint64_t neededBytes = static_cast<std::uint64_t>(needed) * cluster;
  return SpaceShortfall{drive, ClampedKB((neededBytes + kKilobyte - 1) / kKilobyte),
                        ClampedKB(std::uint64_t{space.freeClusters} * cluster / kKilobyte)};
}

}  // namespace app
