// mkcorpus: writes the files that the SZDD benchmark and the Wine check of lz32 compress,
// the same on every run: a WAV sound, text, random bytes, long runs, an empty and a
// one-byte file, and copies of the programs and text files named on the command line.
//
//   mkcorpus FOLDER [--copy FILE...] [--text FILE...]
// --copy files are copied under their own names; --text files are joined into text.txt.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "tools/common/host_files.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t NextRandom(std::uint32_t& state) {
  state = state * 1664525u + 1013904223u;
  return state >> 8;
}

void AppendLe(Bytes& bytes, std::uint32_t value, int count) {
  for (int i = 0; i < count; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void AppendText(Bytes& bytes, std::string_view text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
}

// Ten seconds of 16-bit mono PCM at 22,050 Hz: a few notes with harmonics, fading, and a
// little noise, as a short sound effect or jingle has.
Bytes Sound() {
  constexpr std::uint32_t kRate = 22050;
  constexpr std::uint32_t kSamples = kRate * 10;
  Bytes bytes;
  AppendText(bytes, "RIFF");
  AppendLe(bytes, 36 + kSamples * 2, 4);
  AppendText(bytes, "WAVEfmt ");
  AppendLe(bytes, 16, 4);
  AppendLe(bytes, 1, 2);
  AppendLe(bytes, 1, 2);
  AppendLe(bytes, kRate, 4);
  AppendLe(bytes, kRate * 2, 4);
  AppendLe(bytes, 2, 2);
  AppendLe(bytes, 16, 2);
  AppendText(bytes, "data");
  AppendLe(bytes, kSamples * 2, 4);
  const double notes[] = {261.6, 329.6, 392.0, 523.3, 392.0, 329.6, 440.0, 349.2};
  std::uint32_t noise = 7;
  for (std::uint32_t i = 0; i < kSamples; ++i) {
    const std::uint32_t note = i / (kRate / 4) % std::size(notes);
    const double t = static_cast<double>(i) / kRate;
    const double phase = static_cast<double>(i % (kRate / 4)) / (kRate / 4);
    const double tone =
        std::sin(2 * M_PI * notes[note] * t) + 0.3 * std::sin(4 * M_PI * notes[note] * t);
    const double value =
        9000 * (1 - phase) * tone + static_cast<double>(NextRandom(noise) % 64) - 32;
    AppendLe(bytes, static_cast<std::uint16_t>(static_cast<std::int16_t>(value)), 2);
  }
  return bytes;
}

Bytes RandomBytes(std::size_t size) {
  Bytes bytes(size);
  std::uint32_t state = 12345;
  for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(NextRandom(state));
  return bytes;
}

// Runs of one byte, from a few bytes to many kilobytes, as in images and padded sections.
Bytes Runs(std::size_t size) {
  Bytes bytes;
  std::uint32_t state = 99;
  while (bytes.size() < size) {
    const std::size_t length = 1 + NextRandom(state) % (NextRandom(state) % 4 == 0 ? 20000 : 40);
    bytes.insert(bytes.end(), length, static_cast<std::uint8_t>(NextRandom(state) % 3 * 0x7F));
  }
  bytes.resize(size);
  return bytes;
}

bool Write(const fs::path& path, const Bytes& bytes) {
  if (tools::WriteWholeFile(path, bytes)) return true;
  std::fprintf(stderr, "mkcorpus: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: mkcorpus FOLDER [--copy FILE...] [--text FILE...]\n", stderr);
    return 2;
  }
  const fs::path folder = argv[1];
  fs::create_directories(folder);
  bool ok = Write(folder / "sound.wav", Sound()) &&
            Write(folder / "random.bin", RandomBytes(256 * 1024)) &&
            Write(folder / "runs.bin", Runs(512 * 1024)) && Write(folder / "empty", {}) &&
            Write(folder / "one-byte", {'P'});
  Bytes text;
  std::string_view mode;
  for (int i = 2; ok && i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--copy" || argument == "--text") {
      mode = argument;
      continue;
    }
    if (mode.empty()) {
      std::fprintf(stderr, "mkcorpus: %s: --copy or --text first\n", argv[i]);
      return 2;
    }
    Bytes bytes;
    ok = tools::ReadWholeFile(argv[i], bytes);
    if (!ok) std::fprintf(stderr, "mkcorpus: cannot read %s\n", argv[i]);
    if (ok && mode == "--copy") ok = Write(folder / fs::path(argv[i]).filename(), bytes);
    if (ok && mode == "--text") text.insert(text.end(), bytes.begin(), bytes.end());
  }
  if (ok && !text.empty()) ok = Write(folder / "text.txt", text);
  return ok ? 0 : 1;
}
