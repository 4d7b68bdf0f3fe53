// Installing one extracted item: it replaces the installed file only when it has expanded
// whole to the bytes the item table describes. Otherwise the installed file stays as it was,
// nothing is left beside it, and the user is told why.
#include "payload/install_item.h"

#include <gtest/gtest.h>

#include "codec/crc32.h"
#include "codec/sha256.h"
#include "codec/szdd_decoder.h"
#include "codec/szdd_encoder.h"
#include "tests/support/codec_samples.h"
#include "tests/support/forged_item.h"
#include "tests/support/payload_machine.h"
#include "tests/support/test_product.h"
#include "tools/common/host_files.h"

namespace payload_test {
namespace {

constexpr int kStyle = 4144;
const std::string kItem = "C:\\Temp\\PLMTMP\\Stop.wa_";
const std::string kInstalled = "C:\\Pelmora\\Stop.wav";
const Bytes kEarlier = {'e', 'a', 'r', 'l', 'i', 'e', 'r'};

Bytes Expanded(const Bytes& item) {
  tools::MemorySource source(item);
  tools::MemorySink sink;
  EXPECT_EQ(codec::szdd::Expand(source, sink).status, codec::szdd::Status::kOk);
  return sink.bytes;
}

std::uint32_t Crc32Of(const Bytes& bytes) {
  codec::Crc32 crc;
  crc.Add(bytes.data(), bytes.size());
  return crc.Value();
}

// Whoever can write the setup file can forge any item to its size, its expanded length and
// CRC-32: only the SHA-256 tells the forgery from the item built.
TEST(ForgedItem, MatchesTheLengthAndCrc32OfTheItemButNotItsBytesOrSha256) {
  for (const Bytes& item : TestItems()) {
    const std::optional<Bytes> forged = ForgeItem(item);
    ASSERT_TRUE(forged);
    EXPECT_EQ(forged->size(), item.size());
    const Bytes original = Expanded(item), forgery = Expanded(*forged);
    EXPECT_EQ(forgery.size(), original.size());
    EXPECT_EQ(Crc32Of(forgery), Crc32Of(original));
    EXPECT_NE(forgery, original);
    EXPECT_NE(codec::Sha256Of(forgery), codec::Sha256Of(original));
  }
}

class InstallItemTest : public PayloadMachine {
 protected:
  InstallItemTest() {
    MakeFolder("C:\\Pelmora");
    WriteFile(kItem, codec::szdd::Compress(sound, 'v'));
    WriteFile(kInstalled, kEarlier);
    record = {static_cast<std::int32_t>(ReadFile(kItem).size()),
              static_cast<std::uint32_t>(sound.size()), codec::Sha256Of(sound)};
  }

  payload::ItemInstallation Install() {
    return payload::InstallItem(platform, kItem, kInstalled, record);
  }

  // The installed file as it was, and nothing beside it.
  void ExpectEarlierFileKept() {
    EXPECT_EQ(ReadFile(kInstalled), kEarlier);
    EXPECT_FALSE(FileExists(kInstalled + ".new_"));
    EXPECT_FALSE(FileExists("C:\\Pelmora\\Stop.wa_"));
    EXPECT_EQ(backend.lz.OpenHandles(), 0u);
  }

  const Bytes sound = MakeSample(Sample::kStructured, 4304);
  setup_file::ItemRecord record;
};

TEST_F(InstallItemTest, ReplacesTheInstalledFileWithTheWholeNewOne) {
  EXPECT_TRUE(Install().installed);
  EXPECT_EQ(ReadFile(kInstalled), sound);
  EXPECT_FALSE(FileExists(kInstalled + ".new_"));
  ExpectNoMessage();
}

TEST_F(InstallItemTest, AnItemForgedToTheLengthAndCrc32OfTheOneBuiltIsNotInstalled) {
  const std::optional<Bytes> forged = ForgeItem(ReadFile(kItem));
  ASSERT_TRUE(forged);
  WriteFile(kItem, *forged);
  EXPECT_FALSE(Install().installed);
  ExpectOneMessage("'" + kInstalled + "' could not be installed: the setup file is damaged.",
                   kStyle, "Error");
  ExpectEarlierFileKept();
}

TEST_F(InstallItemTest, AnItemThatExpandsToOtherBytesThanTheTableSaysIsNotInstalled) {
  for (const auto damage : {+[](setup_file::ItemRecord& r) { r.sha256[31] ^= 0x01; },
                            +[](setup_file::ItemRecord& r) { --r.expandedLength; }}) {
    backend.toolkit.ClearRecords();
    const setup_file::ItemRecord intact = record;
    damage(record);
    EXPECT_FALSE(Install().installed);
    ExpectOneMessage("'" + kInstalled + "' could not be installed: the setup file is damaged.",
                     kStyle, "Error");
    ExpectEarlierFileKept();
    record = intact;
  }
}

// lz32 would write the expansion under the compressed name "Stop.wa_" beside a file that it
// cannot open; the new file's own name leaves it no such way.
TEST_F(InstallItemTest, AnInstalledFileInUseOrReadOnlyKeepsItsEarlierVersion) {
  for (const bool readOnly : {true, false}) {
    SCOPED_TRACE(readOnly ? "read-only" : "in use");
    backend.toolkit.ClearRecords();
    std::unique_ptr<platform::FileChannel> running;
    if (readOnly) {
      backend.files.SetAttributes(kInstalled, platform::Attribute::kReadOnly);
    } else {
      int error = 0;
      running = backend.files.Open(kInstalled, platform::ChannelMode::kRead, error);
    }
    EXPECT_FALSE(Install().installed);
    ExpectOneMessage("'" + kInstalled + "' is in use or read-only and keeps its earlier version.",
                     kStyle, "Error");
    running.reset();
    ExpectEarlierFileKept();
    backend.files.SetAttributes(kInstalled, platform::Attribute::kNormal);
  }
}

// ExpandFile shows nothing for a full disk; the installation names it.
TEST_F(InstallItemTest, AFullDestinationIsNamed) {
  backend.faults.Fail("LZCopy", platform::LzError::kWrite);
  const payload::ItemInstallation installation = Install();
  EXPECT_FALSE(installation.installed);
  EXPECT_TRUE(installation.destinationFull);
  ExpectOneMessage("'" + kInstalled + "' could not be written: the destination drive is full.",
                   kStyle, "Error");
  ExpectEarlierFileKept();
}

TEST_F(InstallItemTest, AnExpansionThatFailsWithItsOwnMessageAddsNone) {
  backend.faults.Fail("Open", platform::SystemError::kFileNotFound, 1, /*persistent=*/true);
  EXPECT_FALSE(Install().installed);
  ExpectOneMessage("'" + kItem + "' isimli dosya bulunamadı!", kStyle, "ExpandFiles - Hata!");
  ExpectEarlierFileKept();
}

TEST_F(InstallItemTest, ANewFileThatCannotBeRemovedIsTold) {
  record.sha256[0] ^= 0x80;
  backend.faults.Fail("DeleteFile", platform::SystemError::kAccessDenied);
  EXPECT_FALSE(Install().installed);
  const auto& messages = backend.toolkit.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "The incomplete file '" + kInstalled +
                                  ".new_' could not be removed. You can delete it yourself.");
  EXPECT_EQ(ReadFile(kInstalled), kEarlier);
}

}  // namespace
}  // namespace payload_test
