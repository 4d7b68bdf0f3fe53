#pragma once
// Program images for setup files in tests: PE headers with all sixteen data directories and
// one section that runs to the end of the image, and the signature that a signing tool
// appends.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace payload_test {

// An image of `size` bytes (at least 0x400), PE32 or PE32+, whose last section ends the file.
std::vector<std::uint8_t> PeImage(bool pe32Plus, std::size_t size);

// What a signing tool does: pads the file to 8 bytes, appends the certificate table and points
// the security directory (data directory 4) at it.
void Sign(std::vector<std::uint8_t>& file, bool pe32Plus, std::uint32_t tableSize = 1432);

}  // namespace payload_test
