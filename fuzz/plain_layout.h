#pragma once
// The layout of a setup file read plainly, in 64-bit arithmetic, for the fuzz targets that
// hold the item locator and the setup-file check to it.
#include <cstdint>
#include <optional>
#include <span>

namespace fuzz {

// Where the payload ends: the certificate table's offset when the PE headers among the
// file's first 4096 bytes have a security directory that names a table ending the file;
// otherwise the file's length.
std::int64_t PlainPayloadEnd(std::span<const std::uint8_t> file);

// Where the program image ends: the end of its headers or of its last section's bytes,
// whichever is later, read from PE headers among the file's first 4096 bytes; -1 when they
// are not there.
std::int64_t PlainImageEnd(std::span<const std::uint8_t> file);

// The 1-based position of an item's first byte, payloadEnd − bytesAfter − size + 1, when
// every step stays within 32-bit signed numbers and the result is at least 1.
std::optional<std::int32_t> PlainPosition(std::int64_t payloadEnd, std::int32_t size,
                                          std::int32_t bytesAfter);

}  // namespace fuzz
