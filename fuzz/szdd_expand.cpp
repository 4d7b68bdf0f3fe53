// The SZDD expander over any bytes, read in short pieces from a source that may fail at
// its k-th read, into a sink that may refuse bytes beyond a small limit. Whatever it gives
// must agree with the plain expander: the same status, and the same bytes or a beginning
// of them.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

#include "codec/szdd_decoder.h"
#include "fuzz/plain_szdd.h"
#include "fuzz/require.h"

using fuzz::Require;

namespace {

using codec::szdd::Status;

// Hands out the file a few bytes at a time; the `failingRead`-th read (from 1; 0 for
// none) and every one after it fail.
class ShortSource : public codec::ByteSource {
 public:
  ShortSource(std::span<const std::uint8_t> file, std::size_t longestRead, int failingRead)
      : file_(file), longestRead_(longestRead), failingRead_(failingRead) {}

  std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) override {
    Require(!failed_, "read again after a read failed");
    ++reads_;
    if (reads_ == failingRead_) {
      failed_ = true;
      return -1;
    }
    // Pieces of varying length, up to the longest read.
    const std::size_t piece = 1 + (static_cast<std::size_t>(reads_) * 2654435761u) % longestRead_;
    const std::size_t got = std::min({count, piece, file_.size() - position_});
    std::copy_n(file_.begin() + static_cast<std::ptrdiff_t>(position_), got, buffer);
    position_ += got;
    return static_cast<std::ptrdiff_t>(got);
  }
  bool Failed() const { return failed_; }

 private:
  std::span<const std::uint8_t> file_;
  std::size_t longestRead_;
  int failingRead_;
  std::size_t position_ = 0;
  int reads_ = 0;
  bool failed_ = false;
};

// Takes bytes up to `limit`; refuses, whole, a write that would go beyond.
class LimitedSink : public codec::ByteSink {
 public:
  explicit LimitedSink(std::uint64_t limit) : limit_(limit) {}

  bool Write(const std::uint8_t* data, std::size_t count) override {
    Require(!refused_, "wrote again after a write was refused");
    if (bytes.size() + count > limit_) {
      refused_ = true;
      return false;
    }
    bytes.insert(bytes.end(), data, data + count);
    return true;
  }
  bool Refused() const { return refused_; }
  std::vector<std::uint8_t> bytes;

 private:
  std::uint64_t limit_;
  bool refused_ = false;
};

Status Expected(fuzz::PlainResult result) {
  switch (result) {
    case fuzz::PlainResult::kOk:
      return Status::kOk;
    case fuzz::PlainResult::kNotSzdd:
      return Status::kNotSzdd;
    case fuzz::PlainResult::kDamaged:
      return Status::kBadData;
    case fuzz::PlainResult::kUnknownMode:
      return Status::kUnknownMode;
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The input's last bytes say how the source and the sink behave (all zero: reads of up
  // to 64 KiB that never fail, no limit); the bytes before them are the file.
  FuzzedDataProvider input(data, size);
  const std::size_t longestRead = 65536 >> input.ConsumeIntegralInRange<int>(0, 16);
  const int failingRead = input.ConsumeIntegralInRange<int>(0, 24);
  const std::uint64_t limit =
      input.ConsumeBool() ? input.ConsumeIntegralInRange<std::uint64_t>(0, 100000) : UINT64_MAX;
  const std::vector<std::uint8_t> file = input.ConsumeRemainingBytes<std::uint8_t>();

  const fuzz::PlainExpansion plain = fuzz::PlainExpand(file);
  ShortSource source(file, longestRead, failingRead);
  LimitedSink sink(limit);
  const codec::szdd::Expansion expansion = codec::szdd::Expand(source, sink);

  Require(expansion.written == sink.bytes.size(), "the count written differs from the sink's");
  Require(sink.bytes.size() <= plain.bytes.size() &&
              std::equal(sink.bytes.begin(), sink.bytes.end(), plain.bytes.begin()),
          "the bytes written are not those the plain expander gives");
  if (source.Failed()) {
    Require(expansion.status == Status::kReadFailed, "a failed read is not reported");
  } else if (sink.Refused()) {
    Require(expansion.status == Status::kWriteFailed, "a refused write is not reported");
  } else {
    Require(expansion.status == Expected(plain.result), "the status differs from the plain one");
    if (expansion.status == Status::kOk) {
      Require(sink.bytes.size() == plain.bytes.size(), "an expansion ended early");
    }
  }
  if (plain.result != fuzz::PlainResult::kNotSzdd && expansion.status != Status::kReadFailed &&
      file.size() >= 14) {
    Require(expansion.header.mode == plain.mode && expansion.header.lastChar == plain.lastChar &&
                expansion.header.expandedLength == plain.length,
            "the header differs from the plain one");
  }
  return 0;
}
