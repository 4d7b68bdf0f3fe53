#pragma once
// A RIFF WAVE file holding 16-bit mono PCM samples: the "fmt " chunk, then the "data" chunk.
#include <cstdint>
#include <span>
#include <vector>

namespace demo {

inline constexpr std::size_t kWaveHeaderSize = 44;  // RIFF header, "fmt " chunk, "data" header

std::vector<std::uint8_t> EncodeWave(std::span<const std::int16_t> samples,
                                     std::uint32_t sampleRate);

}  // namespace demo
