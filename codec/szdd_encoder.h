#pragma once
// Compression into SZDD mode "A", for the tools that build setup files. The parse is
// optimal: of all the ways to cover the file with literals and matches, it takes one that
// gives the fewest bits.
#include <cstdint>
#include <span>
#include <vector>

namespace codec::szdd {

// The largest file the header's 32-bit expanded length can describe.
constexpr std::uint64_t kMaxExpandedLength = 0xFFFFFFFFu;

// The whole SZDD file for `data`; `lastChar` is the expanded name's last character, which
// the compressed name replaces by "_" (0 when not known). Throws std::length_error for data
// longer than kMaxExpandedLength.
std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> data, std::uint8_t lastChar);

}  // namespace codec::szdd
