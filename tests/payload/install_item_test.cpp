// Installing one extracted item: it replaces the installed file only when it has expanded
// whole to the bytes the item table describes. Otherwise the installed file stays as it was,
// nothing is left beside it, and the user is told why.
#include "payload/install_item.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>

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
    const Bytes compressed = codec::szdd::Compress(sound, 'v');
    int error = 0;
    item = backend.files.Open(kItem, platform::ChannelMode::kCreateNew, error);
    EXPECT_TRUE(item && item->Write(compressed.data(), compressed.size()));
    WriteFile(kInstalled, kEarlier);
    record = {static_cast<std::int32_t>(compressed.size()),
              static_cast<std::uint32_t>(sound.size()), codec::Sha256Of(sound)};
  }

  payload::ItemInstallation Install() {
    return payload::InstallItem(platform, *item, kInstalled, record, showErrors);
  }

  // The installed file as it was, and nothing beside it.
  void ExpectEarlierFileKept() {
    EXPECT_EQ(ReadFile(kInstalled), kEarlier);
    EXPECT_FALSE(FileExists(kInstalled + ".new_"));
    EXPECT_FALSE(FileExists("C:\\Pelmora\\Stop.wa_"));
    EXPECT_EQ(backend.lz.OpenHandles(), 0u);
  }

  // A file outside the destination, which a link planted there leads to.
  std::filesystem::path Victim() {
    const std::filesystem::path victim = root / "victim.txt";
    std::ofstream(victim) << "the victim";
    return victim;
  }
  static std::string Content(const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  const Bytes sound = MakeSample(Sample::kStructured, 4304);
  std::unique_ptr<platform::FileChannel> item;
  setup_file::ItemRecord record;
  bool showErrors = true;
};

TEST_F(InstallItemTest, ReplacesTheInstalledFileWithTheWholeNewOne) {
  EXPECT_TRUE(Install().installed);
  EXPECT_EQ(ReadFile(kInstalled), sound);
  EXPECT_FALSE(FileExists(kInstalled + ".new_"));
  ExpectNoMessage();
}

// An earlier run that was stopped may have left its new file: a whole one takes its place,
// made under a spare name of its own first.
TEST_F(InstallItemTest, ANewFileThatAnEarlierRunLeftGivesWay) {
  WriteFile(kInstalled + ".new_", Bytes(100000, 'x'));
  WriteFile(kInstalled + ".new_1", Bytes(3, 'y'));  // a spare name taken already
  EXPECT_TRUE(Install().installed);
  EXPECT_EQ(ReadFile(kInstalled), sound);
  EXPECT_FALSE(FileExists(kInstalled + ".new_"));
  EXPECT_FALSE(FileExists(kInstalled + ".new_2"));
  EXPECT_EQ(ReadFile(kInstalled + ".new_1"), Bytes(3, 'y'));
  ExpectNoMessage();
}

// Nothing is written through a link where the new file goes: the file it leads to stays as it
// was, and so does the installed file.
TEST_F(InstallItemTest, ALinkWhereTheNewFileGoesIsRefusedAndTold) {
  const std::filesystem::path victim = Victim();
  const std::filesystem::path newFile = *backend.files.HostPath(kInstalled + ".new_");
  for (const bool hard : {false, true}) {
    SCOPED_TRACE(hard ? "hard link" : "symbolic link");
    backend.toolkit.ClearRecords();
    if (hard) {
      std::filesystem::create_hard_link(victim, newFile);
    } else {
      std::filesystem::create_symlink(victim, newFile);
    }
    EXPECT_FALSE(Install().installed);
    ExpectOneMessage("File '" + kInstalled + "' could not be installed: a link lies beside it!",
                     kStyle, "Error");
    EXPECT_EQ(Content(victim), "the victim");
    EXPECT_EQ(ReadFile(kInstalled), kEarlier);
    std::filesystem::remove(newFile);
  }
}

// The installed file itself may be a link: it is replaced as a name, never written through.
TEST_F(InstallItemTest, AnInstalledFileThatIsALinkIsReplacedAndWhatItLedToKept) {
  const std::filesystem::path victim = Victim();
  const std::filesystem::path installed = *backend.files.HostPath(kInstalled);
  std::filesystem::remove(installed);
  std::filesystem::create_symlink(victim, installed);
  EXPECT_TRUE(Install().installed);
  EXPECT_EQ(ReadFile(kInstalled), sound);
  EXPECT_FALSE(std::filesystem::is_symlink(installed));
  EXPECT_EQ(Content(victim), "the victim");
}

// The user knows the installed file, not the new one beside it.
TEST_F(InstallItemTest, ANewFileThatCannotBeMadeIsToldAsExpandFilesTellsItByTheInstalledName) {
  MakeFolder(kInstalled + ".new_");  // a folder, which is not removed as a leftover
  EXPECT_FALSE(Install().installed);
  ExpectOneMessage("'" + kInstalled + "' isimli dosyaya erişim engellendi!", kStyle,
                   "ExpandFiles - Hata!");
  EXPECT_EQ(ReadFile(kInstalled), kEarlier);
  backend.toolkit.ClearRecords();
  std::filesystem::remove(*backend.files.HostPath(kInstalled + ".new_"));
  backend.faults.Fail("Open", platform::SystemError::kWriteProtect);
  EXPECT_FALSE(Install().installed);
  ExpectOneMessage("'" + kInstalled + "' isimli dosyaya yazılamıyor!", kStyle,
                   "ExpandFiles - Hata!");
  ExpectEarlierFileKept();
}

TEST_F(InstallItemTest, AnItemForgedToTheLengthAndCrc32OfTheOneBuiltIsNotInstalled) {
  const std::optional<Bytes> forged = ForgeItem(ReadFile(kItem));
  ASSERT_TRUE(forged);
  item->Discard();
  int error = 0;
  item = backend.files.Open(kItem, platform::ChannelMode::kCreateNew, error);
  ASSERT_TRUE(item && item->Write(forged->data(), forged->size()));
  EXPECT_FALSE(Install().installed);
  ExpectOneMessage("File '" + kInstalled + "' could not be installed: the setup file is damaged!",
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
    ExpectOneMessage("File '" + kInstalled + "' could not be installed: the setup file is damaged!",
                     kStyle, "Error");
    ExpectEarlierFileKept();
    record = intact;
  }
}

constexpr int kInUseStyle = 53;  // Retry and Cancel, exclamation
const std::string kAskedToCloseHolder =
    "File '" + kInstalled +
    "' is in use by Pelmora. Close it and choose Retry, or choose Cancel to keep its earlier "
    "version.";
const std::string kAskedToCloseUnknown =
    "File '" + kInstalled +
    "' is in use or read-only. Close the program that uses it and choose Retry, or choose "
    "Cancel to keep its earlier version.";

// The user is asked about the installed file, never the new one beside it, once for each try.
void ExpectAsked(const std::vector<platform::portable::ShownMessage>& messages,
                 const std::vector<std::string>& texts) {
  ASSERT_EQ(messages.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(messages[i].text, texts[i]);
    EXPECT_EQ(messages[i].style, kInUseStyle);
    EXPECT_EQ(messages[i].title, "Error");
  }
}

// A running program holds its own file. The user closes it and chooses Retry: the new file
// takes its place. lz32 would write the expansion under the compressed name "Stop.wa_" beside
// a file that it cannot open; the new file's own name leaves it no such way.
TEST_F(InstallItemTest, AnInstalledFileInUseIsReplacedWhenTheUserClosesItsHolderAndRetries) {
  backend.files.HoldElsewhere(kInstalled, "Pelmora");
  backend.toolkit.AnswerMessageBox(platform::kRetry);  // still held: asked again
  backend.toolkit.AnswerMessageBox(platform::kRetry,
                                   [&] { backend.files.ReleaseElsewhere(kInstalled); });
  EXPECT_TRUE(Install().installed);
  ExpectAsked(backend.toolkit.Messages(), {kAskedToCloseHolder, kAskedToCloseHolder});
  EXPECT_EQ(ReadFile(kInstalled), sound);
  EXPECT_FALSE(FileExists(kInstalled + ".new_"));
}

// Cancel, at once or after a Retry that did not help, keeps the earlier file and says no more.
TEST_F(InstallItemTest, CancelKeepsTheEarlierFileOfAnInstalledFileInUse) {
  for (const int retries : {0, 1}) {
    SCOPED_TRACE(retries);
    backend.toolkit.ClearRecords();
    backend.files.HoldElsewhere(kInstalled, "Pelmora");
    for (int retry = 0; retry < retries; ++retry)
      backend.toolkit.AnswerMessageBox(platform::kRetry);
    backend.toolkit.AnswerMessageBox(platform::kCancel);
    const payload::ItemInstallation installation = Install();
    EXPECT_FALSE(installation.installed);
    EXPECT_FALSE(installation.told);  // the caller says what comes of it
    ExpectAsked(backend.toolkit.Messages(),
                std::vector<std::string>(retries + 1, kAskedToCloseHolder));
    backend.files.ReleaseElsewhere(kInstalled);
    ExpectEarlierFileKept();
  }
}

// Where the system cannot name the holder, or the file is read-only, the question says so.
TEST_F(InstallItemTest, AFileInUseByAnUnknownProgramOrReadOnlyIsAskedAboutAndNoOtherFailureIs) {
  backend.files.HoldElsewhere(kInstalled, "");
  EXPECT_FALSE(Install().installed);
  ExpectAsked(backend.toolkit.Messages(), {kAskedToCloseUnknown});
  ExpectEarlierFileKept();

  backend.toolkit.ClearRecords();
  backend.files.HoldElsewhere(kInstalled, "Pelmora");
  backend.faults.Fail("FileHolder", platform::portable::kOperationFailed);
  EXPECT_FALSE(Install().installed);
  ExpectAsked(backend.toolkit.Messages(), {kAskedToCloseUnknown});
  backend.files.ReleaseElsewhere(kInstalled);

  backend.toolkit.ClearRecords();
  backend.files.SetAttributes(kInstalled, platform::Attribute::kReadOnly);
  backend.toolkit.AnswerMessageBox(platform::kRetry, [&] {
    backend.files.SetAttributes(kInstalled, platform::Attribute::kNormal);
  });
  EXPECT_TRUE(Install().installed);
  ExpectAsked(backend.toolkit.Messages(), {kAskedToCloseUnknown});
  EXPECT_EQ(ReadFile(kInstalled), sound);

  // Only a file in use is worth another try: another failure is told once.
  backend.toolkit.ClearRecords();
  WriteFile(kInstalled, kEarlier);
  backend.faults.Fail("Rename", platform::SystemError::kNotReady);
  EXPECT_FALSE(Install().installed);
  ExpectOneMessage("File '" + kInstalled + "' could not be replaced!", kStyle, "Error");
  ExpectEarlierFileKept();
}

// Only a message that has been shown counts as told: the caller tells the rest.
TEST_F(InstallItemTest, WhatExpandFileSaysNothingAboutIsLeftToTheCaller) {
  for (const int code : {platform::LzError::kWrite, -6, -7}) {
    SCOPED_TRACE(code);
    backend.toolkit.ClearRecords();
    backend.faults.Fail("LZCopy", code);
    const payload::ItemInstallation installation = Install();
    EXPECT_FALSE(installation.installed);
    EXPECT_FALSE(installation.told);
    EXPECT_EQ(installation.destinationFull, code == platform::LzError::kWrite);
    ExpectNoMessage();
    ExpectEarlierFileKept();
  }
  backend.faults.Fail("LZCopy", platform::LzError::kBadInHandle);
  const payload::ItemInstallation installation = Install();
  EXPECT_TRUE(installation.told);
  EXPECT_FALSE(installation.destinationFull);
  ExpectOneMessage("Kaynak dosya handle numarası yanlış!", kStyle, "ExpandFiles - Hata!");
  ExpectEarlierFileKept();
}

// A caller that tells each failure in its own words gets no message of ours, whatever failed;
// a file in use is still asked about, as the user can free it.
TEST_F(InstallItemTest, WithoutShowErrorsNoFailureIsToldButInUseIsStillAsked) {
  showErrors = false;
  const std::filesystem::path newFile = *backend.files.HostPath(kInstalled + ".new_");
  const std::vector<std::pair<const char*, std::function<void()>>> failures = {
      {"a new file that cannot be made",
       [&] { backend.faults.Fail("Open", platform::SystemError::kWriteProtect); }},
      {"a link beside it", [&] { std::filesystem::create_symlink(Victim(), newFile); }},
      {"an expansion with its own message",
       [&] { backend.faults.Fail("LZCopy", platform::LzError::kBadInHandle); }},
      {"a full destination", [&] { backend.faults.Fail("LZCopy", platform::LzError::kWrite); }},
      {"a damaged item", [&] { record.sha256[0] ^= 0x80; }},
      {"a failed replacement",
       [&] { backend.faults.Fail("Rename", platform::SystemError::kNotReady); }},
  };
  for (const auto& [what, fail] : failures) {
    SCOPED_TRACE(what);
    const setup_file::ItemRecord intact = record;
    backend.toolkit.ClearRecords();
    fail();
    const payload::ItemInstallation installation = Install();
    EXPECT_FALSE(installation.installed);
    EXPECT_FALSE(installation.told);
    ExpectNoMessage();
    EXPECT_EQ(ReadFile(kInstalled), kEarlier);
    backend.faults.Clear();
    std::filesystem::remove(newFile);
    record = intact;
  }
  backend.files.HoldElsewhere(kInstalled, "Pelmora");
  backend.toolkit.AnswerMessageBox(platform::kCancel);
  EXPECT_FALSE(Install().installed);
  ExpectAsked(backend.toolkit.Messages(), {kAskedToCloseHolder});
}

TEST_F(InstallItemTest, ANewFileThatCannotBeRemovedIsTold) {
  record.sha256[0] ^= 0x80;
  backend.faults.Fail("DeleteFile", platform::SystemError::kAccessDenied);
  EXPECT_FALSE(Install().installed);
  const auto& messages = backend.toolkit.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "File '" + kInstalled +
                                  ".new_' could not be removed! You can delete it yourself.");
  EXPECT_EQ(ReadFile(kInstalled), kEarlier);
}

// The spare file made to take an earlier run's leftover's place is ours too: when it can
// neither take that place nor go, the user is told of it by its own name.
TEST_F(InstallItemTest, ASpareNewFileThatCannotBeRemovedIsTold) {
  WriteFile(kInstalled + ".new_", Bytes(10, 'x'));
  WriteFile(kInstalled + ".new_1", Bytes(3, 'y'));  // a spare name taken already
  backend.faults.Fail("Rename", platform::SystemError::kAccessDenied);
  backend.faults.Fail("DeleteFile", platform::SystemError::kAccessDenied);
  EXPECT_FALSE(Install().installed);
  const auto& messages = backend.toolkit.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1].text, "File '" + kInstalled +
                                  ".new_2' could not be removed! You can delete it yourself.");
  EXPECT_TRUE(FileExists(kInstalled + ".new_2"));
  EXPECT_EQ(ReadFile(kInstalled + ".new_"), Bytes(10, 'x'));
  EXPECT_EQ(ReadFile(kInstalled), kEarlier);
}

}  // namespace
}  // namespace payload_test
