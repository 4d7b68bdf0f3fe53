#pragma once
// Where an item lies in the setup file. The items are located from the end of the payload:
// each by its size and the number of payload bytes after it.
#include <cstdint>
#include <span>

namespace payload {

// The 1-based position of the item's first byte: payloadEnd − bytesAfter − itemSize + 1, in
// 32-bit signed arithmetic. False on an overflow, when the position would lie before the
// file's first byte, or for an item size below 1 or a negative bytesAfter.
bool ItemPosition(std::int64_t payloadEnd, std::int32_t itemSize, std::int32_t bytesAfter,
                  std::int32_t& position);

// How many bytes from the start of a setup file hold its PE headers (the file's first ones).
constexpr std::size_t kPeHeaderSpan = 4096;

// Where the program image ends: the end of the last section's bytes in the file (or of the
// headers, if later), read from its PE headers; -1 when `headers` (the file's first bytes,
// up to kPeHeaderSpan) do not hold the headers of a PE file.
std::int64_t ImageEnd(std::span<const std::uint8_t> headers);

// Where the payload ends: where the setup file's certificate table (an Authenticode
// signature, appended after the payload) begins when the file's PE security directory
// points at a table that ends the file; otherwise the file's length. `headers` holds the
// file's first bytes (up to kPeHeaderSpan).
std::int64_t PayloadEnd(std::span<const std::uint8_t> headers, std::int64_t fileLength);

}  // namespace payload
