#include "setup_file/layout.h"

#include <limits>

namespace setup_file {

std::size_t AlignmentPadding(std::uint64_t imageEnd, std::uint64_t payloadLength) {
  return static_cast<std::size_t>(
      (kSignatureAlignment - (imageEnd + payloadLength) % kSignatureAlignment) %
      kSignatureAlignment);
}

bool PlaceItems(const ItemTable& table, ItemPlaces& places) {
  std::int32_t behind = 0;
  for (std::size_t item = 0; item < table.size(); ++item) {
    if (table[item].size < 1) return false;
    places.bytesAfter[item] = behind;
    if (__builtin_add_overflow(behind, table[item].size, &behind)) return false;
  }
  places.payloadLength = behind;
  return true;
}

bool PayloadFitsExactly(std::int64_t imageEnd, std::int64_t payloadEnd,
                        std::int32_t payloadLength) {
  if (imageEnd < 0 || payloadLength < 0) return false;
  const auto length = static_cast<std::uint64_t>(payloadLength);
  const auto image = static_cast<std::uint64_t>(imageEnd);
  return payloadEnd >= 0 &&
         image + AlignmentPadding(image, length) + length == static_cast<std::uint64_t>(payloadEnd);
}

bool ItemPosition(std::int64_t payloadEnd, std::int32_t itemSize, std::int32_t bytesAfter,
                  std::int32_t& position) {
  if (itemSize < 1 || bytesAfter < 0) return false;
  if (payloadEnd < std::numeric_limits<std::int32_t>::min() ||
      payloadEnd > std::numeric_limits<std::int32_t>::max()) {
    return false;  // beyond 32 bits already
  }
  auto value = static_cast<std::int32_t>(payloadEnd);
  if (__builtin_sub_overflow(value, bytesAfter, &value) ||
      __builtin_sub_overflow(value, itemSize, &value) || __builtin_add_overflow(value, 1, &value)) {
    return false;
  }
  position = value;
  return position >= 1;
}

}  // namespace setup_file
