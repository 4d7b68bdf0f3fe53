#include "codec/szdd_encoder.h"

#include <stdexcept>

#include "codec/szdd_format.h"
#include "codec/szdd_match_finder.h"

namespace codec::szdd {
namespace {

// Each token costs its bytes plus its bit in a flag byte.
constexpr std::uint32_t kLiteralBits = 8 + 1;
constexpr std::uint32_t kMatchBits = 8 * kMatchBytes + 1;

// The length of the token to take at each position (1 for a literal) along the cheapest
// way from there to the end. Every length from kMinMatch up to the longest match is
// possible, all at the longest match's distance.
std::vector<std::uint8_t> CheapestTokens(const std::vector<Match>& matches) {
  const std::size_t size = matches.size();
  std::vector<std::uint64_t> cost(size + 1, 0);
  std::vector<std::uint8_t> tokens(size, 1);
  for (std::size_t i = size; i-- > 0;) {
    cost[i] = cost[i + 1] + kLiteralBits;
    for (std::size_t length = kMinMatch; length <= matches[i].length; ++length) {
      const std::uint64_t withMatch = cost[i + length] + kMatchBits;
      if (withMatch < cost[i]) {
        cost[i] = withMatch;
        tokens[i] = static_cast<std::uint8_t>(length);
      }
    }
  }
  return tokens;
}

// Collects tokens behind their flag bytes.
class StreamWriter {
 public:
  explicit StreamWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void Literal(std::uint8_t byte) {
    StartToken(true);
    out_.push_back(byte);
  }

  void Match(std::size_t windowPosition, std::size_t length) {
    StartToken(false);
    out_.push_back(static_cast<std::uint8_t>(windowPosition & 0xFF));
    out_.push_back(
        static_cast<std::uint8_t>(((windowPosition >> 4) & 0xF0) | (length - kMinMatch)));
  }

 private:
  void StartToken(bool literal) {
    if (tokenInGroup_ == kTokensPerFlag) tokenInGroup_ = 0;
    if (tokenInGroup_ == 0) {
      flagAt_ = out_.size();
      out_.push_back(0);
    }
    if (literal) out_[flagAt_] = static_cast<std::uint8_t>(out_[flagAt_] | 1u << tokenInGroup_);
    ++tokenInGroup_;
  }

  std::vector<std::uint8_t>& out_;
  std::size_t flagAt_ = 0;
  std::size_t tokenInGroup_ = 0;
};

}  // namespace

std::vector<std::uint8_t> Compress(std::span<const std::uint8_t> data, std::uint8_t lastChar) {
  if (data.size() > kMaxExpandedLength) throw std::length_error("too large for an SZDD file");
  const auto header = EncodeHeader({kModeA, lastChar, static_cast<std::uint32_t>(data.size())});
  std::vector<std::uint8_t> out(header.begin(), header.end());

  const std::vector<Match> matches = FindLongestMatches(data);
  const std::vector<std::uint8_t> tokens = CheapestTokens(matches);
  StreamWriter writer(out);
  for (std::size_t i = 0; i < data.size(); i += tokens[i]) {
    if (tokens[i] == 1) {
      writer.Literal(data[i]);
    } else {
      const std::size_t windowPosition = (kWindowStart + i - matches[i].distance) & kWindowMask;
      writer.Match(windowPosition, tokens[i]);
    }
  }
  return out;
}

}  // namespace codec::szdd
