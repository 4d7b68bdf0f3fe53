// The szdd tool's commands: default names, exit codes, no partial output on failure, and
// outputs that never replace an input, a device, a pipe or a link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <fstream>

#include "codec/szdd_encoder.h"
#include "tests/support/codec_samples.h"
#include "tests/support/temp_folder.h"
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

// The bytes `szdd compress` writes for the test's input.
Bytes Compressed(const Bytes& data) { return codec::szdd::Compress(data, 'v'); }

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
  fs::create_directory(folder / "Folder.wa_");
  const std::size_t files = FilesInFolder();

  EXPECT_EQ(szdd::Expand(folder / "Gone.wa_", std::nullopt), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Expand(folder / "Folder.wa_", std::nullopt), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Expand(folder / "Folder.wa_", folder / "out"), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Info(folder / "Folder.wa_"), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Compress(folder / "Folder.wa_", folder / "out"), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Compress(folder / "Gone.wav", std::nullopt), szdd::kInputUnreadable);
  EXPECT_EQ(szdd::Expand(folder / "Start.wav", folder / "out"), szdd::kNotSzdd);
  EXPECT_EQ(szdd::Expand(folder / "Damaged.wa_", std::nullopt), szdd::kDamaged);
  EXPECT_EQ(szdd::Info(folder / "Damaged.wa_"), szdd::kDamaged);
  EXPECT_EQ(szdd::Expand(folder / "Strange.wa_", folder / "out"), szdd::kUnknownMode);
  EXPECT_EQ(szdd::Expand(folder / "Start.wa_", folder / "gone" / "out"), szdd::kOutputUnwritable);
  EXPECT_EQ(szdd::Compress(folder / "Start.wav", folder / "gone" / "out"), szdd::kOutputUnwritable);
  EXPECT_EQ(FilesInFolder(), files);
}

// However the output is spelled, it may not be the input: that would destroy what is read.
TEST_F(SzddTool, NeverWritesOverItsInput) {
  ASSERT_EQ(szdd::Compress(folder / "Start.wav", std::nullopt), szdd::kSuccess);
  const Bytes compressed = Read("Start.wa_");
  fs::create_hard_link(folder / "Start.wav", folder / "hard link");
  fs::create_symlink("Start.wa_", folder / "symbolic link");
  fs::create_directory(folder / "sub");
  const std::size_t files = FilesInFolder();

  for (const fs::path& same :
       {folder / "Start.wav", folder / "hard link", folder / "sub" / ".." / "Start.wav"}) {
    EXPECT_EQ(szdd::Compress(folder / "Start.wav", same), szdd::kUsage) << same;
  }
  for (const fs::path& same : {folder / "Start.wa_", folder / "symbolic link"}) {
    EXPECT_EQ(szdd::Expand(folder / "Start.wa_", same), szdd::kUsage) << same;
  }
  // The default name of a name that already ends in "_" is that name.
  EXPECT_EQ(szdd::Compress(folder / "Start.wa_", std::nullopt), szdd::kUsage);
  EXPECT_EQ(Read("Start.wav"), data);
  EXPECT_EQ(Read("Start.wa_"), compressed);
  EXPECT_EQ(FilesInFolder(), files);
}

// A link is followed: the file it names gets the bytes, and the link stays.
TEST_F(SzddTool, WritesThroughASymbolicLink) {
  fs::create_symlink("target", folder / "link");
  fs::create_symlink("link", folder / "link to link");
  fs::create_symlink("made", folder / "dangling");
  ASSERT_TRUE(tools::WriteWholeFile(folder / "target", Bytes(10, 'x')));

  ASSERT_EQ(szdd::Compress(folder / "Start.wav", folder / "link to link"), szdd::kSuccess);
  EXPECT_EQ(Read("target"), Compressed(data));
  ASSERT_EQ(szdd::Expand(folder / "target", folder / "dangling"), szdd::kSuccess);
  EXPECT_EQ(Read("made"), data);
  for (const char* link : {"link", "link to link", "dangling"}) {
    EXPECT_TRUE(fs::is_symlink(folder / link)) << link;
  }
}

// A pipe is written, not replaced by a file: its reader gets the bytes.
TEST_F(SzddTool, WritesThroughAPipe) {
  const fs::path fifo = folder / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Open for reading first, so that the tool's open does not wait; the output fits the
  // pipe's buffer, so that its writes do not wait either.
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  EXPECT_EQ(szdd::Compress(folder / "Start.wav", fifo), szdd::kSuccess);
  Bytes got(70000);
  const ssize_t count = ::read(reader, got.data(), got.size());
  ::close(reader);
  got.resize(static_cast<std::size_t>(std::max<ssize_t>(count, 0)));
  EXPECT_EQ(got, Compressed(data));
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// Devices of the test's own, like /dev/null and /dev/full: written, never replaced, and a
// write error is a failure.
TEST_F(SzddTool, WritesThroughADeviceAndReportsItsWriteErrors) {
  const fs::path null = folder / "null";
  const fs::path full = folder / "full";
  if (::mknod(null.c_str(), S_IFCHR | 0600, makedev(1, 3)) != 0 ||
      ::mknod(full.c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0 ||
      ::access(full.c_str(), W_OK) != 0) {
    GTEST_SKIP() << "device files cannot be made or opened here";
  }
  ASSERT_EQ(szdd::Compress(folder / "Start.wav", std::nullopt), szdd::kSuccess);
  EXPECT_EQ(szdd::Compress(folder / "Start.wav", null), szdd::kSuccess);
  EXPECT_EQ(szdd::Expand(folder / "Start.wa_", null), szdd::kSuccess);
  EXPECT_EQ(szdd::Compress(folder / "Start.wav", full), szdd::kOutputUnwritable);
  EXPECT_EQ(szdd::Expand(folder / "Start.wa_", full), szdd::kOutputUnwritable);
  EXPECT_TRUE(fs::is_character_file(null));
  EXPECT_TRUE(fs::is_character_file(full));
}

// An input beyond what the compressor holds in memory is refused, a file by its length, a
// device that never ends once that much has been read.
TEST_F(SzddTool, RefusesAnInputTooLargeToCompress) {
  const fs::path large = folder / "large";
  { std::ofstream(large).put('x'); }
  fs::resize_file(large, tools::kMaxInputSize + 1);  // sparse: nothing is written
  const std::size_t files = FilesInFolder();
  EXPECT_EQ(szdd::Compress(large, folder / "out"), szdd::kTooLarge);
  EXPECT_EQ(szdd::Compress("/dev/zero", folder / "out"), szdd::kTooLarge);
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
