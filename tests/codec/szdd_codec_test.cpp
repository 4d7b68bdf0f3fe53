// The SZDD codec on its own: round trips, the smallest stream, and damaged input.
#include <gtest/gtest.h>

#include <algorithm>

#include "codec/szdd_decoder.h"
#include "codec/szdd_encoder.h"
#include "tests/support/codec_samples.h"
#include "tools/common/host_files.h"

namespace payload_test {
namespace {

using codec::szdd::Expansion;
using codec::szdd::Status;

Expansion ExpandBytes(const Bytes& file, Bytes& out) {
  tools::MemorySource source(file);
  tools::MemorySink sink;
  const Expansion expansion = codec::szdd::Expand(source, sink);
  out = std::move(sink.bytes);
  return expansion;
}

// Hands out at most `step` bytes per read, and fails the read numbered `failAt`.
class TrickleSource : public codec::ByteSource {
 public:
  TrickleSource(const Bytes& bytes, std::size_t step, int failAt = 0)
      : bytes_(bytes), step_(step), failAt_(failAt) {}
  std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) override {
    if (++reads_ == failAt_) return -1;
    const std::size_t got = std::min({count, step_, bytes_.size() - position_});
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(position_), got, buffer);
    position_ += got;
    return static_cast<std::ptrdiff_t>(got);
  }

 private:
  const Bytes& bytes_;
  std::size_t step_;
  int failAt_;
  int reads_ = 0;
  std::size_t position_ = 0;
};

class RefusingSink : public codec::ByteSink {
 public:
  bool Write(const std::uint8_t*, std::size_t) override { return false; }
};

TEST(SzddCodec, RoundTripsEverySampleAtSizesFromEmptyToMegabytes) {
  const std::size_t sizes[] = {0,    1,    2,    3,    15,   16,   17,    18,      19,     100,
                               4079, 4080, 4095, 4096, 4097, 8191, 65543, 1 << 20, 3 << 20};
  for (Sample sample : {Sample::kRandom, Sample::kText, Sample::kRuns, Sample::kBlanks,
                        Sample::kPeriodic4095, Sample::kStructured}) {
    for (std::size_t size : sizes) {
      SCOPED_TRACE(SampleName(sample) + " of " + std::to_string(size) + " bytes");
      const Bytes data = MakeSample(sample, size);
      Bytes expanded;
      const Expansion expansion = ExpandBytes(codec::szdd::Compress(data, 'x'), expanded);
      ASSERT_EQ(expansion.status, Status::kOk);
      EXPECT_EQ(expansion.written, size);
      ASSERT_TRUE(expanded == data);
    }
  }
}

TEST(SzddCodec, WritesTheHeaderFields) {
  const Bytes file = codec::szdd::Compress(MakeSample(Sample::kText, 0x012345), 'e');
  const Bytes head(file.begin(), file.begin() + 14);
  EXPECT_EQ(head,
            (Bytes{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'e', 0x45, 0x23, 0x01, 0}));
}

TEST(SzddCodec, ExpandsAcrossEveryReadBoundary) {
  const Bytes data = MakeSample(Sample::kStructured, 70000);
  const Bytes file = codec::szdd::Compress(data, 'x');
  for (std::size_t step : {1, 2, 3, 7, 17, 4096}) {
    TrickleSource source(file, step);
    tools::MemorySink sink;
    ASSERT_EQ(codec::szdd::Expand(source, sink).status, Status::kOk) << "step " << step;
    EXPECT_TRUE(sink.bytes == data) << "step " << step;
  }
}

// Matches may copy from the blanks the window starts with, from the very first byte.
TEST(SzddCodec, MatchesReachIntoTheBlankFirstWindow) {
  const Bytes blanks(18, ' ');
  EXPECT_EQ(codec::szdd::Compress(blanks, 'x').size(), 14u + 1 + 2);  // a flag byte, a match

  Bytes data = {'a', 'b'};
  data.insert(data.end(), 16, ' ');
  Bytes expanded;
  const Bytes file = codec::szdd::Compress(data, 'x');
  EXPECT_EQ(file.size(), 14u + 1 + 1 + 1 + 2);  // two literals and one match of 16 blanks
  ASSERT_EQ(ExpandBytes(file, expanded).status, Status::kOk);
  EXPECT_EQ(expanded, data);
}

// The fewest bits for `data`, from the longest match at each position found by looking at
// every distance: what an optimal parse must reach.
std::uint64_t CheapestBits(const Bytes& data) {
  Bytes text(4095 + data.size(), ' ');
  for (std::size_t i = 0; i < data.size(); ++i) text[4095 + i] = data[i];
  std::vector<std::size_t> longest(data.size(), 0);
  for (std::size_t i = 0; i < data.size(); ++i) {
    const std::size_t at = 4095 + i;
    const std::size_t limit = std::min<std::size_t>(18, data.size() - i);
    for (std::size_t distance = 1; distance <= 4095; ++distance) {
      std::size_t length = 0;
      while (length < limit && text[at - distance + length] == text[at + length]) ++length;
      longest[i] = std::max(longest[i], length);
    }
  }
  std::vector<std::uint64_t> bits(data.size() + 1, 0);
  for (std::size_t i = data.size(); i-- > 0;) {
    bits[i] = bits[i + 1] + 9;
    for (std::size_t length = 3; length <= longest[i]; ++length) {
      bits[i] = std::min(bits[i], bits[i + length] + 17);
    }
  }
  return bits[0];
}

// A literal costs 9 bits and a match 17, so the smallest stream has ceil(bits / 8) bytes.
TEST(SzddCodec, CompressesToTheSmallestStreamTheFormatAllows) {
  for (Sample sample : {Sample::kStructured, Sample::kText, Sample::kRuns, Sample::kRandom}) {
    SCOPED_TRACE(SampleName(sample));
    const Bytes data = MakeSample(sample, 6000, 7);
    EXPECT_EQ(codec::szdd::Compress(data, 'x').size(), 14 + (CheapestBits(data) + 7) / 8);
  }
}

TEST(SzddCodec, TellsFilesThatAreNotSzddApart) {
  Bytes out;
  EXPECT_EQ(ExpandBytes({}, out).status, Status::kNotSzdd);
  EXPECT_EQ(ExpandBytes({'S', 'Z', 'D', 'D'}, out).status, Status::kNotSzdd);
  Bytes file = codec::szdd::Compress(MakeSample(Sample::kText, 500), 'x');
  file[3] = 'C';
  EXPECT_EQ(ExpandBytes(file, out).status, Status::kNotSzdd);
}

TEST(SzddCodec, RefusesModesOtherThanA) {
  Bytes file = codec::szdd::Compress(MakeSample(Sample::kText, 500), 'x');
  file[8] = 'B';
  Bytes out;
  const Expansion expansion = ExpandBytes(file, out);
  EXPECT_EQ(expansion.status, Status::kUnknownMode);
  EXPECT_EQ(expansion.header.mode, 'B');
  EXPECT_TRUE(out.empty());
}

TEST(SzddCodec, ReportsEveryTruncationAsBadDataWithAPrefixOfTheBytes) {
  const Bytes data = MakeSample(Sample::kStructured, 3000);
  const Bytes file = codec::szdd::Compress(data, 'x');
  for (std::size_t size = 8; size < file.size(); ++size) {
    Bytes out;
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    ASSERT_EQ(ExpandBytes(cut, out).status, Status::kBadData) << size << " bytes";
    ASSERT_LT(out.size(), data.size());
    ASSERT_TRUE(std::equal(out.begin(), out.end(), data.begin())) << size << " bytes";
  }
}

// A flipped bit in the stream gives other bytes, or bad data when the stream then ends
// early; never more bytes than the header promises.
TEST(SzddCodec, SurvivesAFlippedBitAnywhere) {
  const Bytes data = MakeSample(Sample::kStructured, 2000);
  const Bytes file = codec::szdd::Compress(data, 'x');
  for (std::size_t at = 0; at < file.size(); ++at) {
    for (int bit : {0x01, 0x10, 0x80}) {
      Bytes damaged = file;
      damaged[at] = static_cast<std::uint8_t>(damaged[at] ^ bit);
      Bytes out;
      const Expansion expansion = ExpandBytes(damaged, out);
      ASSERT_EQ(out.size(), expansion.written);
      if (expansion.status == Status::kOk) {
        ASSERT_EQ(out.size(), expansion.header.expandedLength) << "byte " << at;
      } else if (at >= 14) {
        ASSERT_EQ(expansion.status, Status::kBadData) << "byte " << at;
      }
    }
  }
}

// Streams of random bytes behind a valid header: whatever they hold, the expander ends with
// the claimed length or bad data.
TEST(SzddCodec, SurvivesRandomStreams) {
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    const Bytes stream = MakeSample(Sample::kRandom, seed * 37 % 5000, seed);
    const std::uint32_t claimed = seed * 7919 % 100000;
    Bytes file = codec::szdd::Compress({}, 'x');
    for (int i = 0; i < 4; ++i) file[10 + i] = static_cast<std::uint8_t>(claimed >> (8 * i));
    file.insert(file.end(), stream.begin(), stream.end());
    Bytes out;
    const Expansion expansion = ExpandBytes(file, out);
    if (expansion.status == Status::kOk) {
      ASSERT_EQ(out.size(), claimed) << "seed " << seed;
    } else {
      ASSERT_EQ(expansion.status, Status::kBadData) << "seed " << seed;
      ASSERT_LT(out.size(), claimed) << "seed " << seed;
    }
  }
}

// The header's length decides nothing about memory: a claim of 4 GiB over a short stream
// expands what is there and ends as bad data.
TEST(SzddCodec, AHeaderClaimingFourGibibytesOverAShortStreamIsBadData) {
  const Bytes data = MakeSample(Sample::kText, 100000);
  Bytes file = codec::szdd::Compress(data, 'x');
  std::fill(file.begin() + 10, file.begin() + 14, 0xFF);
  Bytes out;
  const Expansion expansion = ExpandBytes(file, out);
  EXPECT_EQ(expansion.status, Status::kBadData);
  EXPECT_EQ(expansion.header.expandedLength, 0xFFFFFFFFu);
  ASSERT_GE(out.size(), data.size() - 32 * 1024);  // all but what was pending
  EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin()));
}

TEST(SzddCodec, KeepsReadAndWriteFailuresApart) {
  const Bytes data = MakeSample(Sample::kText, 100000);
  const Bytes file = codec::szdd::Compress(data, 'x');
  for (int failAt : {1, 2, 3}) {
    TrickleSource source(file, 4096, failAt);
    tools::MemorySink sink;
    EXPECT_EQ(codec::szdd::Expand(source, sink).status, Status::kReadFailed) << failAt;
  }
  tools::MemorySource source(file);
  RefusingSink sink;
  EXPECT_EQ(codec::szdd::Expand(source, sink).status, Status::kWriteFailed);
}

}  // namespace
}  // namespace payload_test
