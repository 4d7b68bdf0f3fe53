#include "tests/support/pe_image.h"

#include <algorithm>

namespace payload_test {

namespace {

constexpr std::size_t kPeAt = 0x80;
constexpr std::size_t kOptionalAt = kPeAt + 24;
constexpr std::size_t kHeadersSize = 0x400;

std::size_t OptionalHeaderSize(bool pe32Plus) { return pe32Plus ? 240 : 224; }
std::size_t DirectoriesAt(bool pe32Plus) { return kOptionalAt + (pe32Plus ? 112 : 96); }

void Put(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::vector<std::uint8_t> PeImage(bool pe32Plus, std::size_t size) {
  std::vector<std::uint8_t> image(size, 0xCC);
  std::fill(image.begin(), image.begin() + kHeadersSize, 0);
  Put(image, 0, 'M' | 'Z' << 8, 2);
  Put(image, 0x3C, kPeAt, 4);
  Put(image, kPeAt, 'P' | 'E' << 8, 4);
  Put(image, kPeAt + 4, pe32Plus ? 0x8664 : 0x14C, 2);
  Put(image, kPeAt + 6, 1, 2);  // one section
  Put(image, kPeAt + 20, static_cast<std::uint32_t>(OptionalHeaderSize(pe32Plus)), 2);
  Put(image, kOptionalAt, pe32Plus ? 0x20B : 0x10B, 2);
  Put(image, kOptionalAt + 60, kHeadersSize, 4);
  Put(image, DirectoriesAt(pe32Plus) - 4, 16, 4);  // the number of data directories
  const std::size_t section = kOptionalAt + OptionalHeaderSize(pe32Plus);
  std::copy_n(".text", 5, image.begin() + static_cast<std::ptrdiff_t>(section));
  Put(image, section + 16, static_cast<std::uint32_t>(size - kHeadersSize), 4);
  Put(image, section + 20, kHeadersSize, 4);
  return image;
}

void Sign(std::vector<std::uint8_t>& file, bool pe32Plus, std::uint32_t tableSize) {
  file.resize((file.size() + 7) / 8 * 8, 0);
  const auto offset = static_cast<std::uint32_t>(file.size());
  const std::size_t entry = DirectoriesAt(pe32Plus) + 4 * 8;
  Put(file, entry, offset, 4);
  Put(file, entry + 4, tableSize, 4);
  std::vector<std::uint8_t> table(tableSize,
                                  0x30);  // WIN_CERTIFICATE: length, revision 2.0, PKCS#7
  Put(table, 0, tableSize, 4);
  Put(table, 4, 0x0200, 2);
  Put(table, 6, 0x0002, 2);
  file.insert(file.end(), table.begin(), table.end());
}

}  // namespace payload_test
