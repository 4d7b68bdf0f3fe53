#pragma once
// The SZDD compressed-file format, compression mode "A", as the LZ expansion library reads it:
// a 14-byte header, then an LZSS stream over a 4096-byte window.
//
// Header: the signature (8 bytes), the mode ('A'), the last character of the expanded file's
// name (its compressed name has "_" in its place), the expanded length (32 bits,
// little-endian).
// Stream: one flag byte for each group of eight tokens, read from its lowest bit up; a set
// bit is a literal byte, a clear bit a match of two bytes: the window position's low 8 bits,
// then its high 4 bits in the high nibble and the length minus 3 in the low nibble.
#include <array>
#include <cstddef>
#include <cstdint>

namespace codec::szdd {

constexpr std::array<std::uint8_t, 8> kSignature = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr std::uint8_t kModeA = 'A';
constexpr std::size_t kHeaderSize = 14;

constexpr std::size_t kWindowSize = 4096;
constexpr std::uint8_t kWindowFill = 0x20;              // the window starts out filled with blanks
constexpr std::size_t kWindowStart = kWindowSize - 16;  // where the first byte is written
constexpr std::size_t kWindowMask = kWindowSize - 1;

constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 18;
constexpr std::size_t kTokensPerFlag = 8;
constexpr std::size_t kMatchBytes = 2;

struct Header {
  std::uint8_t mode = kModeA;
  std::uint8_t lastChar = 0;  // 0 when the compressor did not record one
  std::uint32_t expandedLength = 0;
};

// What the first bytes of a file hold.
enum class HeaderKind {
  kSzdd,       // signature and a complete header
  kNotSzdd,    // no signature (fewer than 8 bytes count as none)
  kTruncated,  // the signature, but the header ends early
};

// Reads the header from the first `size` bytes of a file.
HeaderKind ParseHeader(const std::uint8_t* bytes, std::size_t size, Header& header);

std::array<std::uint8_t, kHeaderSize> EncodeHeader(const Header& header);

}  // namespace codec::szdd
