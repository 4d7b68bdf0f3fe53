#include "ui/free_space.h"

#include <cmath>
#include <limits>

#include "platform/text/text.h"

namespace ui {

std::int32_t FreeKilobytes(const platform::DiskSpace& space) {
  constexpr std::int32_t kLargest = std::numeric_limits<std::int32_t>::max();
  const double bytesPerCluster =
      static_cast<double>(space.sectorsPerCluster) * space.bytesPerSector;
  const double kilobytes = std::nearbyint(space.freeClusters / 1024.0 * bytesPerCluster);
  return kilobytes >= kLargest ? kLargest : static_cast<std::int32_t>(kilobytes);
}

std::string GroupThousands(std::int32_t value, const std::string& separator) {
  if (value == 0) return {};
  const std::string digits =
      platform::DecimalText(value < 0 ? -static_cast<std::int64_t>(value) : value);
  std::string grouped = value < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace ui
