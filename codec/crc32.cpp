#include "codec/crc32.h"

#include <array>

namespace codec {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

// The remainder of each byte value, eight steps of the bitwise division at once.
constexpr std::array<std::uint32_t, 256> kRemainders = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t byte = 0; byte < table.size(); ++byte) {
    std::uint32_t remainder = byte;
    for (int bit = 0; bit < 8; ++bit)
      remainder = (remainder >> 1) ^ ((remainder & 1) ? kPolynomial : 0);
    table[byte] = remainder;
  }
  return table;
}();

}  // namespace

void Crc32::Add(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t state = state_;
  for (std::size_t i = 0; i < count; ++i)
    state = kRemainders[(state ^ bytes[i]) & 0xFF] ^ (state >> 8);
  state_ = state;
}

}  // namespace codec
