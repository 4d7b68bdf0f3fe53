// Our SZDD files against other implementations: libmspack and msexpand expand ours, and we
// expand what mscompress writes.
#include <gtest/gtest.h>
#include <mspack.h>

#include <cstdlib>
#include <string_view>

#include "codec/szdd_decoder.h"
#include "codec/szdd_encoder.h"
#include "tests/support/codec_samples.h"
#include "tests/support/temp_folder.h"
#include "tools/common/host_files.h"

namespace payload_test {
namespace {

namespace fs = std::filesystem;

const Sample kSamples[] = {Sample::kRandom, Sample::kText,         Sample::kRuns,
                           Sample::kBlanks, Sample::kPeriodic4095, Sample::kStructured};
const std::size_t kSizes[] = {0, 1, 4097, 300000};

Bytes ReadBack(const fs::path& path) {
  Bytes bytes;
  EXPECT_TRUE(tools::ReadWholeFile(path, bytes)) << path;
  return bytes;
}

int RunShell(const std::string& command) { return std::system(command.c_str()); }

TEST(SzddInterop, LibmspackExpandsOurFiles) {
  TempFolder folder;
  msszdd_decompressor* libmspack = mspack_create_szdd_decompressor(nullptr);
  ASSERT_NE(libmspack, nullptr);
  for (Sample sample : kSamples) {
    for (std::size_t size : kSizes) {
      SCOPED_TRACE(SampleName(sample) + " of " + std::to_string(size) + " bytes");
      const Bytes data = MakeSample(sample, size);
      ASSERT_TRUE(tools::WriteWholeFile(folder / "in._", codec::szdd::Compress(data, 'x')));
      ASSERT_EQ(
          libmspack->decompress(libmspack, (folder / "in._").c_str(), (folder / "out").c_str()),
          MSPACK_ERR_OK);
      EXPECT_TRUE(ReadBack(folder / "out") == data);
    }
  }
  mspack_destroy_szdd_decompressor(libmspack);
}

TEST(SzddInterop, MsexpandExpandsOurFiles) {
  if (std::string_view(MSEXPAND).empty())
    GTEST_SKIP() << "msexpand (package mscompress) is not installed";
  TempFolder folder;
  for (Sample sample : kSamples) {
    for (std::size_t size : kSizes) {
      SCOPED_TRACE(SampleName(sample) + " of " + std::to_string(size) + " bytes");
      const Bytes data = MakeSample(sample, size);
      ASSERT_TRUE(tools::WriteWholeFile(folder / "in._", codec::szdd::Compress(data, 'x')));
      ASSERT_EQ(RunShell(std::string(MSEXPAND) + " < '" + (folder / "in._").string() + "' > '" +
                         (folder / "out").string() + "'"),
                0);
      EXPECT_TRUE(ReadBack(folder / "out") == data);
    }
  }
}

// mscompress itself loses the bytes of files shorter than 16 bytes (it writes a stream
// that holds fewer literals than the header's length), so the sizes start at 16 here.
TEST(SzddInterop, WeExpandWhatMscompressWrites) {
  if (std::string_view(MSCOMPRESS).empty()) GTEST_SKIP() << "mscompress is not installed";
  TempFolder folder;
  for (Sample sample : kSamples) {
    for (std::size_t size : {0, 16, 4097, 300000}) {
      SCOPED_TRACE(SampleName(sample) + " of " + std::to_string(size) + " bytes");
      const Bytes data = MakeSample(sample, size);
      ASSERT_TRUE(tools::WriteWholeFile(folder / "in.txt", data));
      ASSERT_EQ(RunShell(std::string(MSCOMPRESS) + " '" + (folder / "in.txt").string() + "'"), 0);
      const Bytes compressed = ReadBack(folder / "in.txt_");
      tools::MemorySource source(compressed);
      tools::MemorySink expanded;
      const codec::szdd::Expansion expansion = codec::szdd::Expand(source, expanded);
      ASSERT_EQ(expansion.status, codec::szdd::Status::kOk);
      EXPECT_TRUE(expanded.bytes == data);
      fs::remove(folder / "in.txt_");
    }
  }
}

}  // namespace
}  // namespace payload_test
