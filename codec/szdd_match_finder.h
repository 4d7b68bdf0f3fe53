#pragma once
// The longest earlier match at each position of a file about to be compressed, as the SZDD
// window sees it: at most kMaxDistance bytes back, the blanks the window starts with
// included, a match allowed to run into the bytes it copies.
#include <cstdint>
#include <span>
#include <vector>

#include "codec/szdd_format.h"

namespace codec::szdd {

// A match's window slot is never the one being written: every expander reads that slot
// correctly, but nothing is gained by relying on it.
constexpr std::size_t kMaxDistance = kWindowSize - 1;

struct Match {
  std::uint16_t length = 0;    // 0 when no match of at least kMinMatch bytes exists
  std::uint16_t distance = 0;  // how far back it starts, 1 to kMaxDistance
};

// One entry for each byte of `data`. Every shorter length at the same distance matches too.
std::vector<Match> FindLongestMatches(std::span<const std::uint8_t> data);

}  // namespace codec::szdd
