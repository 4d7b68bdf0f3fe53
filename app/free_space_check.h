#pragma once
// Whether the destination drive can take the installation before the run starts.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/services/file_system.h"
#include "setup_file/layout.h"

namespace app {

struct SpaceShortfall {
  std::string drive;          // "C:"
  std::int32_t neededKB = 0;  // kilobytes, rounded up
  std::int32_t freeKB = 0;    // rounded down
};

// What the drive of `destination` lacks, if anything, for the run at its fullest, counted in
// whole clusters file by file. The run writes each item's new file beside the installed one,
// which it then replaces and so gives back; it keeps the extracted items to the end, which
// take room too when the temporary folder lies on the same drive. Nothing when the drive has
// room, or when its free space cannot be told (no drive letter, or the system cannot say).
std::optional<SpaceShortfall> FindSpaceShortfall(platform::FileSystem& files,
                                                 const std::string& destination,
                                                 const std::string& temporaryFolder,
                                                 const setup_file::ItemTable& table);

}  // namespace app
