#include "demo/sounds/wave_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace demo {
namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | std::uint32_t{bytes[at + 3]} << 24;
}

std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::string Tag(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

TEST(WaveFile, HeaderDescribesSixteenBitMonoPcm) {
  const std::vector<std::int16_t> samples(1000, 0);
  const std::vector<std::uint8_t> wave = EncodeWave(samples, 22050);

  ASSERT_EQ(wave.size(), kWaveHeaderSize + 2000);
  EXPECT_EQ(Tag(wave, 0), "RIFF");
  EXPECT_EQ(Read32(wave, 4), wave.size() - 8);  // the RIFF chunk covers the rest of the file
  EXPECT_EQ(Tag(wave, 8), "WAVE");
  EXPECT_EQ(Tag(wave, 12), "fmt ");
  EXPECT_EQ(Read32(wave, 16), 16u);
  EXPECT_EQ(Read16(wave, 20), 1);  // PCM
  EXPECT_EQ(Read16(wave, 22), 1);  // mono
  EXPECT_EQ(Read32(wave, 24), 22050u);
  EXPECT_EQ(Read32(wave, 28), 44100u);  // bytes per second
  EXPECT_EQ(Read16(wave, 32), 2);       // bytes per sample frame
  EXPECT_EQ(Read16(wave, 34), 16);
  EXPECT_EQ(Tag(wave, 36), "data");
  EXPECT_EQ(Read32(wave, 40), 2000u);
}

TEST(WaveFile, SamplesAreSignedLittleEndian) {
  const std::vector<std::int16_t> samples = {0, 1, -1, 32767, -32768, 0x1234};
  const std::vector<std::uint8_t> wave = EncodeWave(samples, 11025);

  const std::vector<std::uint8_t> data(wave.begin() + kWaveHeaderSize, wave.end());
  const std::vector<std::uint8_t> expected = {0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF,
                                              0xFF, 0x7F, 0x00, 0x80, 0x34, 0x12};
  EXPECT_EQ(data, expected);
}

TEST(WaveFile, NoSamplesMakeAnEmptyDataChunk) {
  const std::vector<std::uint8_t> wave = EncodeWave({}, 11025);

  ASSERT_EQ(wave.size(), kWaveHeaderSize);
  EXPECT_EQ(Read32(wave, 4), 36u);
  EXPECT_EQ(Read32(wave, 40), 0u);
}

}  // namespace
}  // namespace demo
