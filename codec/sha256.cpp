#include "codec/sha256.h"

#include <bit>

namespace codec {
namespace {

constexpr std::size_t kBlockSize = 64;
constexpr std::size_t kLengthAt = kBlockSize - 8;  // where the last block holds the bit length

// The first 32 bits of the fractional parts of the cube roots of the first 64 primes.
constexpr std::uint32_t kRoundConstants[64] = {
    0x428A2F98, 0x71374491, 0xB5C0FBCF, 0xE9B5DBA5, 0x3956C25B, 0x59F111F1, 0x923F82A4, 0xAB1C5ED5,
    0xD807AA98, 0x12835B01, 0x243185BE, 0x550C7DC3, 0x72BE5D74, 0x80DEB1FE, 0x9BDC06A7, 0xC19BF174,
    0xE49B69C1, 0xEFBE4786, 0x0FC19DC6, 0x240CA1CC, 0x2DE92C6F, 0x4A7484AA, 0x5CB0A9DC, 0x76F988DA,
    0x983E5152, 0xA831C66D, 0xB00327C8, 0xBF597FC7, 0xC6E00BF3, 0xD5A79147, 0x06CA6351, 0x14292967,
    0x27B70A85, 0x2E1B2138, 0x4D2C6DFC, 0x53380D13, 0x650A7354, 0x766A0ABB, 0x81C2C92E, 0x92722C85,
    0xA2BFE8A1, 0xA81A664B, 0xC24B8B70, 0xC76C51A3, 0xD192E819, 0xD6990624, 0xF40E3585, 0x106AA070,
    0x19A4C116, 0x1E376C08, 0x2748774C, 0x34B0BCB5, 0x391C0CB3, 0x4ED8AA4A, 0x5B9CCA4F, 0x682E6FF3,
    0x748F82EE, 0x78A5636F, 0x84C87814, 0x8CC70208, 0x90BEFFFA, 0xA4506CEB, 0xBEF9A3F7, 0xC67178F2};

}  // namespace

void Sha256::Add(const std::uint8_t* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    block_[length_ % kBlockSize] = bytes[i];
    if (++length_ % kBlockSize == 0) CompressBlock();
  }
}

Sha256Digest Sha256::Digest() const {
  Sha256 last = *this;
  // The padding: a one bit, zeros up to the length field, the message's length in bits.
  std::uint8_t padding = 0x80;
  do {
    last.Add(&padding, 1);
    padding = 0;
  } while (last.length_ % kBlockSize != kLengthAt);
  const std::uint64_t bits = length_ * 8;
  for (int shift = 56; shift >= 0; shift -= 8) {
    const auto byte = static_cast<std::uint8_t>(bits >> shift);
    last.Add(&byte, 1);
  }
  Sha256Digest digest;
  for (std::size_t i = 0; i < digest.size(); ++i)
    digest[i] = static_cast<std::uint8_t>(last.state_[i / 4] >> (24 - 8 * (i % 4)));
  return digest;
}

Sha256Digest Sha256Of(std::span<const std::uint8_t> bytes) {
  Sha256 sha;
  sha.Add(bytes.data(), bytes.size());
  return sha.Digest();
}

void Sha256::CompressBlock() {
  std::uint32_t schedule[64];
  for (std::size_t t = 0; t < 64; ++t) {
    if (t < 16) {
      schedule[t] = 0;
      for (std::size_t i = 0; i < 4; ++i) schedule[t] = schedule[t] << 8 | block_[4 * t + i];
    } else {
      const std::uint32_t early = schedule[t - 15], late = schedule[t - 2];
      schedule[t] = schedule[t - 16] + (std::rotr(early, 7) ^ std::rotr(early, 18) ^ early >> 3) +
                    schedule[t - 7] + (std::rotr(late, 17) ^ std::rotr(late, 19) ^ late >> 10);
    }
  }
  // a..h of the standard, a in work[0].
  std::array<std::uint32_t, 8> work = state_;
  for (std::size_t t = 0; t < 64; ++t) {
    const std::uint32_t a = work[0], e = work[4];
    const std::uint32_t choice = (e & work[5]) ^ (~e & work[6]);
    const std::uint32_t majority = (a & work[1]) ^ (a & work[2]) ^ (work[1] & work[2]);
    const std::uint32_t first = work[7] + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) +
                                choice + kRoundConstants[t] + schedule[t];
    const std::uint32_t second = (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + majority;
    for (std::size_t i = 7; i > 0; --i) work[i] = work[i - 1];
    work[4] += first;
    work[0] = first + second;
  }
  for (std::size_t i = 0; i < state_.size(); ++i) state_[i] += work[i];
}

}  // namespace codec
