#pragma once
// SHA-256 (FIPS 180-4). The setup program checks every file it installs against the SHA-256
// that its image holds: a CRC-32 can be matched by whoever can change the setup file, a
// SHA-256 cannot. Written small rather than fast: the files are a few kilobytes each.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace codec {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  // Takes the message in pieces of any size.
  void Add(const std::uint8_t* bytes, std::size_t count);
  // The digest of everything added so far; more may be added after.
  Sha256Digest Digest() const;

 private:
  void CompressBlock();

  std::array<std::uint32_t, 8> state_ = {0x6A09E667u, 0xBB67AE85u, 0x3C6EF372u, 0xA54FF53Au,
                                         0x510E527Fu, 0x9B05688Cu, 0x1F83D9ABu, 0x5BE0CD19u};
  std::array<std::uint8_t, 64> block_{};
  std::uint64_t length_ = 0;  // the bytes added
};

// The digest of bytes that are all at hand.
Sha256Digest Sha256Of(std::span<const std::uint8_t> bytes);

}  // namespace codec
