#include "platform/portable/portable_lz.h"

#include <algorithm>
#include <array>
#include <limits>

#include "codec/byte_stream.h"
#include "codec/szdd_decoder.h"

namespace platform::portable {
namespace {

constexpr std::size_t kCopyChunk = 32 * 1024;

class ChannelSource : public codec::ByteSource {
 public:
  ChannelSource(FileChannel& channel, std::int64_t length) : channel_(channel), length_(length) {}

  std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) override {
    const auto wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(static_cast<std::int64_t>(count), length_ - position_));
    if (wanted == 0) return 0;
    if (!channel_.ReadAt(position_, buffer, wanted)) return -1;
    position_ += static_cast<std::int64_t>(wanted);
    return static_cast<std::ptrdiff_t>(wanted);
  }

 private:
  FileChannel& channel_;
  std::int64_t length_;
  std::int64_t position_ = 0;
};

class ChannelSink : public codec::ByteSink {
 public:
  explicit ChannelSink(FileChannel& channel) : channel_(channel) {}
  bool Write(const std::uint8_t* data, std::size_t count) override {
    return channel_.Write(data, count);
  }

 private:
  FileChannel& channel_;
};

// LZCopy reports the destination's size as a 32-bit value.
std::int32_t SizeResult(std::uint64_t size) {
  if (size > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
    return LzError::kBadValue;
  }
  return static_cast<std::int32_t>(size);
}

// A source without the SZDD signature is copied as it is.
std::int32_t CopyUnchanged(FileChannel& source, std::int64_t length, FileChannel& destination) {
  ChannelSource reader(source, length);
  std::array<std::uint8_t, kCopyChunk> chunk;
  for (;;) {
    const std::ptrdiff_t count = reader.Read(chunk.data(), chunk.size());
    if (count < 0) return LzError::kRead;
    if (count == 0) return SizeResult(static_cast<std::uint64_t>(length));
    if (!destination.Write(chunk.data(), static_cast<std::size_t>(count))) return LzError::kWrite;
  }
}

std::int32_t ExpansionResult(const codec::szdd::Expansion& expansion) {
  using codec::szdd::Status;
  switch (expansion.status) {
    case Status::kOk:
      return SizeResult(expansion.written);
    case Status::kWriteFailed:
      return LzError::kWrite;
    case Status::kUnknownMode:
      return LzError::kUnknownAlgorithm;
    case Status::kNotSzdd:  // handled by the caller
    case Status::kBadData:
    case Status::kReadFailed:
      break;
  }
  return LzError::kRead;
}

}  // namespace

PortableLz::PortableLz(FaultPlan& faults) : faults_(faults) {}

PortableLz::~PortableLz() = default;

std::int32_t PortableLz::Init(FileChannel& source) {
  const std::int32_t handle = nextHandle_++;
  sources_[handle] = &source;
  return handle;
}

std::int32_t PortableLz::Copy(std::int32_t source, FileChannel& destination) {
  if (const int fault = faults_.Check(FaultPoint::kLzCopy); fault != 0) return fault;
  const auto in = sources_.find(source);
  if (in == sources_.end()) return LzError::kBadInHandle;

  FileChannel& from = *in->second;
  const std::int64_t length = from.Length();
  if (length < 0) return LzError::kRead;
  ChannelSource reader(from, length);
  ChannelSink writer(destination);
  const codec::szdd::Expansion expansion = codec::szdd::Expand(reader, writer);
  if (expansion.status == codec::szdd::Status::kNotSzdd) {
    return CopyUnchanged(from, length, destination);
  }
  return ExpansionResult(expansion);
}

void PortableLz::Close(std::int32_t handle) { sources_.erase(handle); }

}  // namespace platform::portable
