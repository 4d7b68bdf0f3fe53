#include "codec/szdd_format.h"

#include <algorithm>

namespace codec::szdd {

HeaderKind ParseHeader(const std::uint8_t* bytes, std::size_t size, Header& header) {
  if (size < kSignature.size() || !std::equal(kSignature.begin(), kSignature.end(), bytes)) {
    return HeaderKind::kNotSzdd;
  }
  if (size < kHeaderSize) return HeaderKind::kTruncated;
  header.mode = bytes[8];
  header.lastChar = bytes[9];
  header.expandedLength =
      static_cast<std::uint32_t>(bytes[10]) | static_cast<std::uint32_t>(bytes[11]) << 8 |
      static_cast<std::uint32_t>(bytes[12]) << 16 | static_cast<std::uint32_t>(bytes[13]) << 24;
  return HeaderKind::kSzdd;
}

std::array<std::uint8_t, kHeaderSize> EncodeHeader(const Header& header) {
  std::array<std::uint8_t, kHeaderSize> bytes{};
  std::copy(kSignature.begin(), kSignature.end(), bytes.begin());
  bytes[8] = header.mode;
  bytes[9] = header.lastChar;
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[10 + i] = static_cast<std::uint8_t>(header.expandedLength >> (8 * i));
  }
  return bytes;
}

}  // namespace codec::szdd
