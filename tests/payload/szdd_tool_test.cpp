// The szdd tool's commands: default names, exit codes, and no partial output on failure.
#include <gtest/gtest.h>

#include "tests/payload/codec_samples.h"
#include "tests/payload/temp_folder.h"
#include "tools/common/host_files.h"
#include "tools/szdd/szdd_commands.h"

namespace payload_test {
namespace {

namespace fs = std::filesystem;
namespace szdd = tools::szdd;

class SzddTool : public ::testing::Test {
 protected:
  SzddTool() { EXPECT_TRUE(tools::WriteWholeFile(folder / "Start.wav", data)); }

  Bytes Read(const std::string& name) {
    Bytes bytes;
    EXPECT_TRUE(tools::ReadWholeFile(folder / name, bytes)) << name;
    return bytes;
  }
  std::size_t FilesInFolder() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder.path()), {}));
  }

  TempFolder folder;
  const Bytes data = MakeSample(Sample::kStructured, 50000);
};

TEST_F(SzddTool, CompressesAndExpandsUnderTheDefaultNames) {
  ASSERT_EQ(szdd::Compress(folder / "Start.wav", std::nullopt), szdd::kSuccess);
  fs::rename(folder / "Start.wav", folder / "original");
  ASSERT_EQ(szdd::Expand(folder / "Start.wa_", std::nullopt), szdd::kSuccess);
  EXPECT_EQ(Read("Start.wav"), data);
  EXPECT_EQ(szdd::Info(folder / "Start.wa_"), szdd::kSuccess);
}

TEST_F(SzddTool, TakesTheNamesGiven) {
  ASSERT_EQ(szdd::Compress(folder / "Start.wav", folder / "packed"), szdd::kSuccess);
  ASSERT_EQ(szdd::Expand(folder / "packed", folder / "unpacked"), szdd::kSuccess);
  EXPECT_EQ(Read("unpacked"), data);
  // Without a "_" to replace, expand needs a name.
  EXPECT_EQ(szdd::Expand(folder / "packed", std::nullopt), szdd::kUsage);
}

TEST_F(SzddTool, GivesEachFailureItsOwnExitCodeAndLeavesNoOutput) {
  ASSERT_EQ(szdd::Compress(folder / "Start.wav", std::nullopt), szdd::kSuccess);
  Bytes damaged = Read("Start.wa_");
  damaged.resize(damaged.size() - 10);
  ASSERT_TRUE(tools::WriteWholeFile(folder / "Damaged.wa_", damaged));
  damaged[8] = 'Q';
  ASSERT_TRUE(tools::WriteWholeFile(folder / "Strange.wa_", damaged));
  const std::size_t files = FilesInFolder();

  EXPECT_EQ(szdd::Expand(folder / "Gone.wa_", std::nullopt), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Compress(folder / "Gone.wav", std::nullopt), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Expand(folder / "Start.wav", folder / "out"), szdd::kNotSzdd);
  EXPECT_EQ(szdd::Expand(folder / "Damaged.wa_", std::nullopt), szdd::kDamaged);
  EXPECT_EQ(szdd::Info(folder / "Damaged.wa_"), szdd::kDamaged);
  EXPECT_EQ(szdd::Expand(folder / "Strange.wa_", folder / "out"), szdd::kUnknownMode);
  EXPECT_EQ(szdd::Expand(folder / "Start.wa_", folder / "gone" / "out"), szdd::kOutputUnwritable);
  EXPECT_EQ(szdd::Compress(folder / "Start.wav", folder / "gone" / "out"), szdd::kOutputUnwritable);
  EXPECT_EQ(FilesInFolder(), files);
}

TEST(SzddNames, ReplaceTheLastCharacter) {
  EXPECT_EQ(szdd::CompressedName("dir/Pelmora.exe"), fs::path("dir/Pelmora.ex_"));
  EXPECT_EQ(szdd::ExpandedName("dir/Pelmora.ex_", 'e'), fs::path("dir/Pelmora.exe"));
  EXPECT_EQ(szdd::ExpandedName("dir/Pelmora.exe", 'e'), std::nullopt);
  EXPECT_EQ(szdd::ExpandedName("dir/Pelmora.ex_", 0), std::nullopt);
  EXPECT_EQ(szdd::CompressedName("dir/"), std::nullopt);
}

}  // namespace
}  // namespace payload_test
