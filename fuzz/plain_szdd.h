#pragma once
// A second SZDD expander, as plain as the format allows: the whole file in memory, a
// 4096-byte ring and one token at a time, sharing no code or constant with the project's
// codec. The fuzz targets hold the codec to it.
#include <cstdint>
#include <span>
#include <vector>

namespace fuzz {

enum class PlainResult { kOk, kNotSzdd, kDamaged, kUnknownMode };

struct PlainExpansion {
  PlainResult result = PlainResult::kNotSzdd;
  std::uint8_t mode = 0;
  std::uint8_t lastChar = 0;
  std::uint32_t length = 0;         // the expanded length the header records
  std::vector<std::uint8_t> bytes;  // expanded so far; all of them when the result is kOk
};

PlainExpansion PlainExpand(std::span<const std::uint8_t> file);

}  // namespace fuzz
