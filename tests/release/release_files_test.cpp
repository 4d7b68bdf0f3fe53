// The files that the Windows builds hand out carry nothing of the moment or the place of their
// build, so that every build of one commit gives the same bytes. They are checked where the
// presets put them; without the Windows builds the tests are skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "product/pelmora.h"
#include "tools/common/host_files.h"

namespace {

namespace fs = std::filesystem;

const fs::path kBuilds[] = {PE32_BUILD, PE32_PLUS_BUILD};

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::vector<std::uint8_t> bytes;
  tools::ReadWholeFile(path, bytes);
  return bytes;
}

std::uint32_t Little32(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
         std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

// The TimeDateStamp of the PE file header.
std::uint32_t PeTimeStamp(const std::vector<std::uint8_t>& program) {
  constexpr std::size_t kNewHeaderField = 0x3C;
  constexpr std::size_t kTimeStampOffset = 8;  // after "PE\0\0", machine and section count
  const std::uint32_t header = Little32(program, kNewHeaderField);
  return Little32(program, header + kTimeStampOffset);
}

bool Holds(const std::vector<std::uint8_t>& bytes, std::string_view text) {
  return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

class ReleaseFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const fs::path& build : kBuilds) {
      if (!fs::exists(build / "setup.exe")) GTEST_SKIP() << build << " is not built";
    }
  }
};

TEST_F(ReleaseFiles, ProgramsHoldNoTimeStampAndNoPathOfTheBuild) {
  const std::string programs[] = {
      "setup.exe", "demo/product/" + std::string(product::kApplication.installedName),
      "demo/product/" + std::string(product::kUninstaller.installedName)};
  for (const fs::path& build : kBuilds) {
    for (const std::string& program : programs) {
      SCOPED_TRACE(build / program);
      const std::vector<std::uint8_t> bytes = ReadBytes(build / program);
      ASSERT_GT(bytes.size(), 0x200u);
      EXPECT_EQ(PeTimeStamp(bytes), 0u);
      EXPECT_FALSE(Holds(bytes, SOURCE_DIR));
    }
  }
}

// Each build compiles the help file and synthesises the sounds on its own, at its own time.
TEST_F(ReleaseFiles, DataFilesOfTheTwoBuildsAreTheSame) {
  std::vector<std::string_view> files;
  for (const product::ProductFile& sound : product::kSounds) files.push_back(sound.installedName);
  files.push_back(product::kHelp.installedName);
  for (std::string_view file : files) {
    const fs::path path = fs::path("demo/product") / file;
    const std::vector<std::uint8_t> pe32 = ReadBytes(kBuilds[0] / path);
    EXPECT_FALSE(pe32.empty()) << path;
    EXPECT_EQ(pe32, ReadBytes(kBuilds[1] / path)) << path;
  }
}

}  // namespace
