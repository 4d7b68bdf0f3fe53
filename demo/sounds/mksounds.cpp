// mksounds FOLDER: writes Pelmora's five sounds into FOLDER as RIFF WAVE files.
#include <cstdio>
#include <string>
#include <vector>

#include "demo/sounds/product_sounds.h"
#include "demo/sounds/wave_file.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: mksounds FOLDER\n");
    return 2;
  }
  for (const demo::ProductSound& sound : demo::ProductSounds()) {
    const std::string path = std::string(argv[1]) + "/" + std::string(sound.fileName);
    if (!WriteFile(path, demo::EncodeWave(demo::Mix(sound.voices), demo::kSampleRate))) {
      std::fprintf(stderr, "mksounds: cannot write %s\n", path.c_str());
      std::remove(path.c_str());
      return 1;
    }
  }
  return 0;
}
