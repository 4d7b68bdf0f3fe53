#include "demo/sounds/wave_file.h"

#include <limits>
#include <stdexcept>

namespace demo {
namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr std::uint32_t kFormatChunkSize = 16;

void PutTag(std::vector<std::uint8_t>& out, const char (&tag)[5]) {
  out.insert(out.end(), tag, tag + 4);
}

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<std::uint8_t> EncodeWave(std::span<const std::int16_t> samples,
                                     std::uint32_t sampleRate) {
  constexpr std::size_t kLargestData = std::numeric_limits<std::uint32_t>::max() - kWaveHeaderSize;
  if (samples.size() > kLargestData / kBlockAlign) {
    throw std::length_error("too many samples for one RIFF WAVE file");
  }
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * kBlockAlign);

  std::vector<std::uint8_t> out;
  out.reserve(kWaveHeaderSize + dataSize);
  PutTag(out, "RIFF");
  PutLittleEndian(out, static_cast<std::uint32_t>(kWaveHeaderSize - 8) + dataSize, 4);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  PutLittleEndian(out, kFormatChunkSize, 4);
  PutLittleEndian(out, kFormatPcm, 2);
  PutLittleEndian(out, kChannels, 2);
  PutLittleEndian(out, sampleRate, 4);
  PutLittleEndian(out, sampleRate * kBlockAlign, 4);
  PutLittleEndian(out, kBlockAlign, 2);
  PutLittleEndian(out, kBitsPerSample, 2);
  PutTag(out, "data");
  PutLittleEndian(out, dataSize, 4);
  for (std::int16_t sample : samples) {
    PutLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
  }
  return out;
}

}  // namespace demo
