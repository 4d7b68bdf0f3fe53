#include "platform/services/file_system.h"

namespace platform {

bool Exists(FileSystem& files, const std::string& path, std::uint32_t attributes) {
  const std::uint32_t found = files.GetAttributes(path);
  if (found == Attribute::kNoEntry) return false;
  const std::uint32_t special =
      found & (Attribute::kHidden | Attribute::kSystem | Attribute::kDirectory);
  return (special & ~attributes) == 0;
}

}  // namespace platform
