#include "fuzz/plain_szdd.h"

#include <algorithm>
#include <array>

namespace fuzz {

PlainExpansion PlainExpand(std::span<const std::uint8_t> file) {
  PlainExpansion out;
  static constexpr std::uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
  if (file.size() < 8 || !std::equal(kMagic, kMagic + 8, file.begin())) return out;
  out.result = PlainResult::kDamaged;
  if (file.size() < 14) return out;
  out.mode = file[8];
  out.lastChar = file[9];
  out.length = static_cast<std::uint32_t>(file[10] | file[11] << 8 | file[12] << 16) |
               static_cast<std::uint32_t>(file[13]) << 24;
  if (out.mode != 'A') {
    out.result = PlainResult::kUnknownMode;
    return out;
  }

  std::array<std::uint8_t, 4096> ring;
  ring.fill(' ');
  std::size_t r = 4096 - 16;
  std::size_t in = 14;
  auto put = [&](std::uint8_t byte) {
    out.bytes.push_back(byte);
    ring[r] = byte;
    r = (r + 1) % 4096;
  };
  while (out.bytes.size() < out.length) {
    if (in >= file.size()) return out;
    const std::uint8_t flags = file[in++];
    for (int bit = 0; bit < 8 && out.bytes.size() < out.length; ++bit) {
      if (flags >> bit & 1) {
        if (in >= file.size()) return out;
        put(file[in++]);
      } else {
        if (in + 1 >= file.size()) return out;
        const std::size_t from = file[in] | (file[in + 1] & 0xF0) << 4;
        const std::size_t count = (file[in + 1] & 0x0F) + 3;
        in += 2;
        for (std::size_t i = 0; i < count && out.bytes.size() < out.length; ++i) {
          put(ring[(from + i) % 4096]);
        }
      }
    }
  }
  out.result = PlainResult::kOk;
  return out;
}

}  // namespace fuzz
