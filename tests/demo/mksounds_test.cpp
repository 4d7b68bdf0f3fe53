// The generator as the Windows builds run it: a folder in, five files out.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demo/sounds/product_sounds.h"
#include "demo/sounds/wave_file.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

int RunMksounds(const fs::path& folder) {
  const std::string command = std::string(MKSOUNDS_PATH) + " '" + folder.string() + "' 2>/dev/null";
  return std::system(command.c_str());
}

class Mksounds : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("mksounds_test_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  fs::path root_;
};

TEST_F(Mksounds, WritesTheFiveSoundsAsEncoded) {
  ASSERT_EQ(RunMksounds(root_), 0);

  std::size_t files = 0;
  for (const auto& entry : fs::directory_iterator(root_)) files += entry.is_regular_file();
  EXPECT_EQ(files, ProductSounds().size());
  for (const ProductSound& sound : ProductSounds()) {
    EXPECT_EQ(ReadBytes(root_ / sound.fileName), EncodeWave(Mix(sound.voices), kSampleRate))
        << sound.fileName;
  }
}

TEST_F(Mksounds, WritesTheSameBytesOnEveryRun) {
  ASSERT_EQ(RunMksounds(root_), 0);
  fs::create_directory(root_ / "again");
  ASSERT_EQ(RunMksounds(root_ / "again"), 0);

  for (const ProductSound& sound : ProductSounds()) {
    EXPECT_EQ(ReadBytes(root_ / sound.fileName), ReadBytes(root_ / "again" / sound.fileName))
        << sound.fileName;
  }
}

TEST_F(Mksounds, FailsForAFolderThatDoesNotExist) {
  EXPECT_NE(RunMksounds(root_ / "missing"), 0);
  EXPECT_FALSE(fs::exists(root_ / "missing"));
}

}  // namespace
}  // namespace demo
