#include "codec/szdd_decoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace codec::szdd {
namespace {

// The output is kept as one run of bytes: the last window's worth of expanded bytes (at
// first the blanks the window starts with), then the bytes not yet written. A match is
// then a copy from a fixed distance back, and needs no wrapping.
constexpr std::size_t kHistory = kWindowSize;
constexpr std::size_t kOutputChunk = 32 * 1024;
constexpr std::size_t kGroupOutput = kTokensPerFlag * kMaxMatch;       // most a group can expand to
constexpr std::size_t kGroupInput = 1 + kTokensPerFlag * kMatchBytes;  // most a group can take
// A match copy may write up to kMaxMatch bytes past its end; they are overwritten later.
constexpr std::size_t kOutputSize = kHistory + kOutputChunk + kGroupOutput + kMaxMatch;
constexpr std::size_t kInputSize = 16 * 1024;

class Expander {
 public:
  Expander(ByteSource& source, ByteSink& sink) : source_(source), sink_(sink) {
    std::fill_n(out_.begin(), kHistory, kWindowFill);
  }

  Expansion Run();

 private:
  Status ReadHeader(Header& header);
  Status Fill(std::size_t wanted);
  void DecodeGroup();
  Status DecodeGroupCarefully();
  void CopyMatch(std::uint8_t first, std::uint8_t second, std::size_t maxLength);
  bool Flush();

  std::size_t Available() const { return inEnd_ - inPos_; }
  std::size_t Pending() const { return outPos_ - kHistory; }

  ByteSource& source_;
  ByteSink& sink_;
  // Not cleared: only bytes written before are ever read.
  std::array<std::uint8_t, kInputSize> in_;
  std::array<std::uint8_t, kOutputSize> out_;
  std::size_t inPos_ = 0;
  std::size_t inEnd_ = 0;
  bool inputEnded_ = false;
  std::size_t outPos_ = kHistory;
  std::size_t ring_ = kWindowStart;  // the window position the next byte is written to
  std::uint64_t remaining_ = 0;      // expanded bytes still to produce
  std::uint64_t written_ = 0;
};

Expansion Expander::Run() {
  Expansion result;
  result.status = ReadHeader(result.header);
  if (result.status != Status::kOk) return result;
  remaining_ = result.header.expandedLength;
  while (remaining_ > 0 && result.status == Status::kOk) {
    result.status = Fill(kGroupInput);
    if (result.status != Status::kOk) break;
    if (Pending() >= kOutputChunk && !Flush()) {
      result.status = Status::kWriteFailed;
      break;
    }
    if (Available() >= kGroupInput && remaining_ >= kGroupOutput) {
      DecodeGroup();
    } else {
      result.status = DecodeGroupCarefully();
    }
  }
  if (result.status == Status::kOk && !Flush()) result.status = Status::kWriteFailed;
  result.written = written_;
  return result;
}

Status Expander::ReadHeader(Header& header) {
  if (Fill(kHeaderSize) != Status::kOk) return Status::kReadFailed;
  switch (ParseHeader(in_.data(), Available(), header)) {
    case HeaderKind::kNotSzdd:
      return Status::kNotSzdd;
    case HeaderKind::kTruncated:
      return Status::kBadData;
    case HeaderKind::kSzdd:
      break;
  }
  inPos_ += kHeaderSize;
  return header.mode == kModeA ? Status::kOk : Status::kUnknownMode;
}

// Reads until at least `wanted` bytes are waiting or the source has ended, keeping the
// unread input in front.
Status Expander::Fill(std::size_t wanted) {
  if (Available() >= wanted || inputEnded_) return Status::kOk;
  std::memmove(in_.data(), in_.data() + inPos_, Available());
  inEnd_ -= inPos_;
  inPos_ = 0;
  while (inEnd_ < wanted && !inputEnded_) {
    const std::ptrdiff_t count = source_.Read(in_.data() + inEnd_, in_.size() - inEnd_);
    if (count < 0) return Status::kReadFailed;
    if (count == 0) inputEnded_ = true;
    inEnd_ += static_cast<std::size_t>(count);
  }
  return Status::kOk;
}

// Eight tokens when the input holds a whole group and the output has room for the most it
// can expand to: no checks inside.
void Expander::DecodeGroup() {
  unsigned flags = in_[inPos_++];
  for (std::size_t token = 0; token < kTokensPerFlag; ++token, flags >>= 1) {
    if (flags & 1) {
      out_[outPos_++] = in_[inPos_++];
      ring_ = (ring_ + 1) & kWindowMask;
      --remaining_;
    } else {
      CopyMatch(in_[inPos_], in_[inPos_ + 1], kMaxMatch);
      inPos_ += kMatchBytes;
    }
  }
}

// The same near the end of the input or of the expanded length: every byte is checked,
// and the last match is cut at the expanded length.
Status Expander::DecodeGroupCarefully() {
  if (Available() < 1) return Status::kBadData;
  unsigned flags = in_[inPos_++];
  for (std::size_t token = 0; token < kTokensPerFlag && remaining_ > 0; ++token, flags >>= 1) {
    if (flags & 1) {
      if (Available() < 1) return Status::kBadData;
      out_[outPos_++] = in_[inPos_++];
      ring_ = (ring_ + 1) & kWindowMask;
      --remaining_;
    } else {
      if (Available() < kMatchBytes) return Status::kBadData;
      CopyMatch(in_[inPos_], in_[inPos_ + 1],
                static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, kMaxMatch)));
      inPos_ += kMatchBytes;
    }
  }
  return Status::kOk;
}

void Expander::CopyMatch(std::uint8_t first, std::uint8_t second, std::size_t maxLength) {
  const std::size_t position = first | (static_cast<std::size_t>(second & 0xF0) << 4);
  const std::size_t length = std::min((second & 0x0Fu) + kMinMatch, maxLength);
  // The match starts `distance` bytes back; its own window slot means a whole window back.
  std::size_t distance = (ring_ - position) & kWindowMask;
  if (distance == 0) distance = kWindowSize;
  std::uint8_t* to = out_.data() + outPos_;
  const std::uint8_t* from = to - distance;
  if (distance >= kMaxMatch) {
    std::memcpy(to, from, kMaxMatch);
  } else {
    for (std::size_t i = 0; i < length; ++i) to[i] = from[i];  // overlapping: byte by byte
  }
  outPos_ += length;
  ring_ = (ring_ + length) & kWindowMask;
  remaining_ -= length;
}

// Writes the pending bytes and keeps the last window's worth in front.
bool Expander::Flush() {
  if (Pending() == 0) return true;
  if (!sink_.Write(out_.data() + kHistory, Pending())) return false;
  written_ += Pending();
  std::memmove(out_.data(), out_.data() + outPos_ - kHistory, kHistory);
  outPos_ = kHistory;
  return true;
}

}  // namespace

Expansion Expand(ByteSource& source, ByteSink& sink) {
  // The buffers are too large for a small stack.
  const std::unique_ptr<Expander> expander(new Expander(source, sink));
  return expander->Run();
}

}  // namespace codec::szdd
