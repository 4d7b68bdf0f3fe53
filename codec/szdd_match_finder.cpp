#include "codec/szdd_match_finder.h"

#include <algorithm>
#include <limits>

namespace codec::szdd {
namespace {

constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kCycle = kMaxDistance + 1;
constexpr std::size_t kKeyBytes = 2;

// A binary tree of the positions in the window whose first two bytes are the same, ordered
// by the bytes that follow (up to kMaxMatch of them). Inserting a position walks from the
// root, which is always the newest position, and meets the longest match on the way, so the
// search is exact without visiting the whole window. Positions only grow older down the
// tree: the first one out of the window ends the walk.
class MatchTree {
 public:
  explicit MatchTree(const std::vector<std::uint8_t>& text)
      : text_(text), heads_(1u << (8 * kKeyBytes), kNone), children_(2 * kCycle, kNone) {}

  Match Insert(std::uint32_t position);

 private:
  const std::vector<std::uint8_t>& text_;
  std::vector<std::uint32_t> heads_;
  std::vector<std::uint32_t> children_;  // two for each slot of the window: smaller, larger
};

Match MatchTree::Insert(std::uint32_t position) {
  const std::uint8_t* current = text_.data() + position;
  const std::size_t limit = std::min(kMaxMatch, text_.size() - position);
  const std::size_t key = current[0] | static_cast<std::size_t>(current[1]) << 8;
  std::uint32_t candidate = heads_[key];
  heads_[key] = position;

  // Where the next smaller and the next larger subtree found on the way are hung.
  std::uint32_t* smaller = &children_[2 * (position % kCycle)];
  std::uint32_t* larger = smaller + 1;
  std::size_t smallerLength = 0;
  std::size_t largerLength = 0;
  Match best;
  for (;;) {
    if (candidate == kNone || position - candidate > kMaxDistance) {
      *smaller = *larger = kNone;
      break;
    }
    std::uint32_t* pair = &children_[2 * (candidate % kCycle)];
    const std::uint8_t* earlier = text_.data() + candidate;
    // Both neighbours share this many bytes with us, so the candidate does too.
    std::size_t length = std::min(smallerLength, largerLength);
    while (length < limit && earlier[length] == current[length]) ++length;
    if (length > best.length) {
      best = {static_cast<std::uint16_t>(length), static_cast<std::uint16_t>(position - candidate)};
    }
    if (length == limit) {  // the candidate takes our place: its subtrees become ours
      *smaller = pair[0];
      *larger = pair[1];
      break;
    }
    if (earlier[length] < current[length]) {
      *smaller = candidate;
      smaller = pair + 1;
      candidate = *smaller;
      smallerLength = length;
    } else {
      *larger = candidate;
      larger = pair;
      candidate = *larger;
      largerLength = length;
    }
  }
  if (best.length < kMinMatch) best = {};
  return best;
}

}  // namespace

std::vector<Match> FindLongestMatches(std::span<const std::uint8_t> data) {
  // The window's initial blanks stand in front of the data, so matches may start in them.
  std::vector<std::uint8_t> text(kMaxDistance, kWindowFill);
  text.insert(text.end(), data.begin(), data.end());
  std::vector<Match> matches(data.size());
  MatchTree tree(text);
  for (std::size_t position = 0; position + kKeyBytes <= text.size(); ++position) {
    const Match match = tree.Insert(static_cast<std::uint32_t>(position));
    if (position >= kMaxDistance) matches[position - kMaxDistance] = match;
  }
  return matches;
}

}  // namespace codec::szdd
