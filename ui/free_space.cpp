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
  const std::string digits = platform::DecimalText(value);
  const std::size_t sign = value < 0 ? 1 : 0;
  std::string grouped = digits.substr(0, sign);
  for (std::size_t i = sign; i < digits.size(); ++i) {
    if (i > sign && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace ui
