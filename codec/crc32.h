#pragma once
// CRC-32 as zip and PNG compute it (reflected polynomial 0xEDB88320, all bits inverted at
// the start and at the end). It checks that an installed file holds the bytes it was built
// from.
#include <cstddef>
#include <cstdint>

namespace codec {

class Crc32 {
 public:
  void Add(const std::uint8_t* bytes, std::size_t count);
  std::uint32_t Value() const { return ~state_; }

 private:
  std::uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace codec
