#include "payload/setup_layout.h"

namespace payload {

std::size_t AlignmentPadding(std::uint64_t imageEnd, std::uint64_t payloadLength) {
  return static_cast<std::size_t>((kSignatureAlignment - (imageEnd + payloadLength) % kSignatureAlignment) %
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

bool PayloadFitsExactly(std::int64_t imageEnd, std::int64_t payloadEnd, std::int32_t payloadLength) {
  if (imageEnd < 0 || payloadLength < 0) return false;
  const auto length = static_cast<std::uint64_t>(payloadLength);
  const auto image = static_cast<std::uint64_t>(imageEnd);
  return payloadEnd >= 0 &&
         image + AlignmentPadding(image, length) + length == static_cast<std::uint64_t>(payloadEnd);
}

}  // namespace payload
