#include "fuzz/plain_layout.h"

#include <algorithm>
#include <limits>

namespace fuzz {

namespace {

// Reads a little-endian number of `size` bytes at `at` among the file's first 4096 bytes.
bool ReadHeader(std::span<const std::uint8_t> file, std::uint64_t at, int size,
                std::uint64_t& value) {
  const std::uint64_t span = std::min<std::uint64_t>(file.size(), 4096);
  if (at + size > span) return false;
  value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | file[at + i];
  return true;
}

}  // namespace

std::int64_t PlainImageEnd(std::span<const std::uint8_t> file) {
  auto read = [&](std::uint64_t at, int size, std::uint64_t& value) {
    return ReadHeader(file, at, size, value);
  };
  std::uint64_t mz, peAt, signature, sections, optionalSize, headers;
  if (!read(0, 2, mz) || mz != 0x5A4D || !read(0x3C, 4, peAt)) return -1;
  if (!read(peAt, 4, signature) || signature != 0x4550) return -1;
  if (!read(peAt + 6, 2, sections) || !read(peAt + 20, 2, optionalSize) ||
      !read(peAt + 24 + 60, 4, headers)) {
    return -1;
  }
  std::uint64_t end = headers;
  for (std::uint64_t section = 0; section < sections; ++section) {
    const std::uint64_t header = peAt + 24 + optionalSize + 40 * section;
    std::uint64_t rawSize, rawPointer;
    if (!read(header + 16, 4, rawSize) || !read(header + 20, 4, rawPointer)) return -1;
    if (rawSize != 0) end = std::max(end, rawPointer + rawSize);
  }
  return static_cast<std::int64_t>(end);
}

std::int64_t PlainPayloadEnd(std::span<const std::uint8_t> file) {
  auto read = [&](std::uint64_t at, int size, std::uint64_t& value) {
    return ReadHeader(file, at, size, value);
  };
  const auto length = static_cast<std::int64_t>(file.size());
  std::uint64_t mz, peAt, signature, optionalSize, magic, count, offset, size;
  if (!read(0, 2, mz) || mz != 0x5A4D || !read(0x3C, 4, peAt)) return length;
  if (!read(peAt, 4, signature) || signature != 0x4550) return length;
  if (!read(peAt + 20, 2, optionalSize) || !read(peAt + 24, 2, magic)) return length;
  if (magic != 0x10B && magic != 0x20B) return length;
  const std::uint64_t directories = magic == 0x10B ? 92 : 108;
  if (!read(peAt + 24 + directories, 4, count) || count < 5) return length;
  const std::uint64_t entry = directories + 4 + 4 * 8;  // the fifth: the security directory
  if (entry + 8 > optionalSize) return length;
  if (!read(peAt + 24 + entry, 4, offset) || !read(peAt + 24 + entry + 4, 4, size)) return length;
  if (size == 0 || offset + size != file.size()) return length;
  return static_cast<std::int64_t>(offset);
}

std::optional<std::int32_t> PlainPosition(std::int64_t payloadEnd, std::int32_t size,
                                          std::int32_t bytesAfter) {
  auto fits = [](std::int64_t value) {
    return value >= std::numeric_limits<std::int32_t>::min() &&
           value <= std::numeric_limits<std::int32_t>::max();
  };
  if (size < 1 || bytesAfter < 0 || !fits(payloadEnd)) return std::nullopt;
  const std::int64_t steps[] = {payloadEnd - bytesAfter, payloadEnd - bytesAfter - size,
                                payloadEnd - bytesAfter - size + 1};
  for (std::int64_t step : steps) {
    if (!fits(step)) return std::nullopt;
  }
  if (steps[2] < 1) return std::nullopt;
  return static_cast<std::int32_t>(steps[2]);
}

}  // namespace fuzz
