// The help file's compile time, on files that chmcmd makes from Pelmora's help sources.
#include "demo/chm/compile_time.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/common/host_files.h"

namespace demo {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::vector<std::uint8_t> bytes;
  tools::ReadWholeFile(path, bytes);
  return bytes;
}

std::uint32_t BigEndianAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  return std::uint32_t{bytes[offset]} << 24 | std::uint32_t{bytes[offset + 1]} << 16 |
         std::uint32_t{bytes[offset + 2]} << 8 | bytes[offset + 3];
}

class CompileTime : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string(CHMCMD_PATH).empty()) GTEST_SKIP() << "chmcmd is not installed";
    root_ = fs::temp_directory_path() / ("compile_time_test_" + std::to_string(::getpid()));
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  // Compiles the help sources in a folder of their own, as the Windows build does.
  std::vector<std::uint8_t> Compile(const std::string& name) {
    const fs::path folder = root_ / name;
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(HELP_SOURCES)) {
      fs::copy_file(entry.path(), folder / entry.path().filename());
    }
    const std::string command = "cd '" + folder.string() + "' && '" + CHMCMD_PATH +
                                "' --no-html-scan PLM.hhp >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return ReadBytes(folder / "PLM.chm");
  }

  fs::path root_;
};

TEST_F(CompileTime, MakesTwoCompilationsTheSameFile) {
  std::vector<std::uint8_t> first = Compile("first");
  ::usleep(20000);  // chmcmd stamps the milliseconds of the day
  std::vector<std::uint8_t> second = Compile("second");
  ASSERT_FALSE(first.empty());
  const std::uint32_t time = MillisecondsOfDay(1700000000);

  EXPECT_EQ(SetCompileTime(first, time), "");
  EXPECT_EQ(SetCompileTime(second, time), "");
  EXPECT_EQ(BigEndianAt(first, 0x10), time);
  EXPECT_EQ(first, second);
}

TEST_F(CompileTime, RefusesAFileCutShortAndLeavesItAsItWas) {
  const std::vector<std::uint8_t> whole = Compile("whole");
  ASSERT_GT(whole.size(), 0x60u);
  std::size_t refused = 0;
  for (std::size_t size = 0; size < whole.size(); size += 7) {
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<long>(size));
    const std::vector<std::uint8_t> before = cut;
    if (!SetCompileTime(cut, 1234).empty()) {
      EXPECT_EQ(cut, before) << size;
      ++refused;
    }
  }
  EXPECT_GT(refused, 0u);
}

TEST(CompileTimeOfOtherFiles, AreRefusedUnchanged) {
  std::vector<std::uint8_t> notChm(200, 0);
  std::vector<std::uint8_t> headerOnly(0x60, 0);
  headerOnly[0] = 'I';
  headerOnly[1] = 'T';
  headerOnly[2] = 'S';
  headerOnly[3] = 'F';
  EXPECT_EQ(SetCompileTime(notChm, 1), "not a CHM file");
  EXPECT_EQ(SetCompileTime(headerOnly, 1), "no #SYSTEM file in its directory");
  EXPECT_EQ(notChm, std::vector<std::uint8_t>(200, 0));
}

TEST(MillisecondsOfDay, CountFromMidnightUtc) {
  EXPECT_EQ(MillisecondsOfDay(0), 0u);
  EXPECT_EQ(MillisecondsOfDay(86399), 86399000u);
  EXPECT_EQ(MillisecondsOfDay(86400 + 61), 61000u);
  EXPECT_EQ(MillisecondsOfDay(-1), 86399000u);
}

}  // namespace
}  // namespace demo
