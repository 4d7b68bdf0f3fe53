#pragma once
// The seam between the SZDD codec and whatever holds the bytes: a file channel, a host
// file, memory. Tests replace either side (a source that fails after N reads, a sink that
// refuses to write).
#include <cstddef>
#include <cstdint>

namespace codec {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to `count` bytes into `buffer`: the number read (0 only at the end), or -1
  // when reading fails.
  virtual std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t count) = 0;
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all `count` bytes; false when they could not all be written.
  virtual bool Write(const std::uint8_t* data, std::size_t count) = 0;
};

}  // namespace codec
