// Writes a small synthetic product for the host tests: the eight files under their installed
// names, with deterministic bytes that look like what they stand for (program images with
// code and text, a help file of HTML, PCM sounds).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/common/host_files.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  std::uint32_t Next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

 private:
  std::uint32_t state_;
};

void Append(Bytes& bytes, const std::string& text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
}

void AppendLe(Bytes& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Instructions drawn from a small set with varying operands, then a block of strings.
Bytes Program(std::uint32_t seed, std::size_t codeSize) {
  Bytes bytes = {'M', 'Z'};
  bytes.resize(0x80, 0);
  Append(bytes, std::string("PE\0\0", 4));
  bytes.resize(0x400, 0);
  Random random(seed);
  const Bytes opcodes[] = {{0x55},       {0x8B, 0xEC}, {0x83, 0xEC}, {0xE8},
                           {0x89, 0x45}, {0xC3},       {0x6A}};
  while (bytes.size() < codeSize) {
    const Bytes& opcode = opcodes[random.Next() % std::size(opcodes)];
    bytes.insert(bytes.end(), opcode.begin(), opcode.end());
    bytes.push_back(static_cast<std::uint8_t>(random.Next() % 16));
  }
  for (int i = 0; i < 200; ++i)
    Append(bytes, "Pelmora message " + std::to_string(i * 7 % 31) + "\0");
  return bytes;
}

Bytes HelpFile() {
  Bytes bytes;
  Append(bytes, "ITSF");
  AppendLe(bytes, 3, 4);
  for (int page = 0; page < 60; ++page) {
    Append(bytes, "<html><head><title>Pelmora help, page " + std::to_string(page) +
                      "</title></head><body><p>Pelmora plays a sound when you press a key.</p>"
                      "</body></html>\n");
  }
  return bytes;
}

Bytes Sound(double frequency, std::uint32_t samples) {
  Bytes bytes;
  Append(bytes, "RIFF");
  AppendLe(bytes, 36 + samples * 2, 4);
  Append(bytes, "WAVEfmt ");
  AppendLe(bytes, 16, 4);
  AppendLe(bytes, 1, 2);          // PCM
  AppendLe(bytes, 1, 2);          // mono
  AppendLe(bytes, 11025, 4);      // samples per second
  AppendLe(bytes, 11025 * 2, 4);  // bytes per second
  AppendLe(bytes, 2, 2);
  AppendLe(bytes, 16, 2);
  Append(bytes, "data");
  AppendLe(bytes, samples * 2, 4);
  for (std::uint32_t i = 0; i < samples; ++i) {
    const double fade = 1.0 - static_cast<double>(i) / samples;
    const auto sample =
        static_cast<std::int16_t>(8000 * fade * std::sin(frequency * i / 11025 * 6.2832));
    AppendLe(bytes, static_cast<std::uint16_t>(sample), 2);
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: make_test_product FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  const std::pair<const char*, Bytes> files[] = {
      {"Pelmora.exe", Program(1, 60000)},       {"Stop.wav", Sound(440, 2100)},
      {"Start.wav", Sound(660, 9700)},          {"Shot.wav", Sound(1200, 2700)},
      {"Click.wav", Sound(2000, 2700)},         {"Beep.wav", Sound(880, 2400)},
      {"Uninstall PLM.exe", Program(2, 20000)}, {"PLM.chm", HelpFile()},
  };
  for (const auto& [name, bytes] : files) {
    if (!tools::WriteWholeFile(folder / name, bytes)) {
      std::fprintf(stderr, "make_test_product: cannot write %s\n", name);
      return 1;
    }
  }
  return 0;
}
