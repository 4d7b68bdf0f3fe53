#include "codec/crc32.h"

#include <array>

namespace codec {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

// The remainder of each four-bit value, four steps of the bitwise division at once. A table
// for whole bytes would be sixteen times the size (1 KB of the setup program) to halve the
// steps of a check that takes well under a millisecond.
constexpr std::array<std::uint32_t, 16> kRemainders = [] {
  std::array<std::uint32_t, 16> table{};
  for (std::uint32_t nibble = 0; nibble < table.size(); ++nibble) {
    std::uint32_t remainder = nibble;
    for (int bit = 0; bit < 4; ++bit)
      remainder = (remainder >> 1) ^ ((remainder & 1) ? kPolynomial : 0);
    table[nibble] = remainder;
  }
  return table;
}();

}  // namespace

void Crc32::Add(const std::uint8_t* bytes, std::size_t count) {
  std::uint32_t state = state_;
  for (std::size_t i = 0; i < count; ++i) {
    state ^= bytes[i];
    state = kRemainders[state & 0xF] ^ (state >> 4);
    state = kRemainders[state & 0xF] ^ (state >> 4);
  }
  state_ = state;
}

}  // namespace codec
