#include "codec/crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

namespace {

std::uint32_t CrcOf(std::string_view text) {
  codec::Crc32 crc;
  crc.Add(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  return crc.Value();
}

// The division one bit at a time, as the definition has it.
std::uint32_t BitwiseCrc(const std::vector<std::uint8_t>& bytes) {
  std::uint32_t state = 0xFFFFFFFFu;
  for (std::uint8_t byte : bytes) {
    state ^= byte;
    for (int bit = 0; bit < 8; ++bit) state = (state >> 1) ^ ((state & 1) ? 0xEDB88320u : 0);
  }
  return ~state;
}

TEST(Crc32, GivesTheKnownCheckValues) {
  EXPECT_EQ(CrcOf(""), 0x00000000u);
  EXPECT_EQ(CrcOf("123456789"), 0xCBF43926u);
  EXPECT_EQ(CrcOf("The quick brown fox jumps over the lazy dog"), 0x414FA339u);
}

TEST(Crc32, AgreesWithTheBitwiseDivisionInAnyPieces) {
  std::mt19937 random(7);
  for (std::size_t length : {1u, 2u, 15u, 16u, 17u, 255u, 256u, 4097u}) {
    std::vector<std::uint8_t> bytes(length);
    for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
    const std::uint32_t expected = BitwiseCrc(bytes);
    for (std::size_t cut : {std::size_t{0}, length / 3, length - 1, length}) {
      codec::Crc32 crc;
      crc.Add(bytes.data(), cut);
      crc.Add(bytes.data() + cut, length - cut);
      EXPECT_EQ(crc.Value(), expected) << "length " << length << ", cut at " << cut;
    }
  }
}

}  // namespace
