// Extraction of payload items from the end of a setup file, its failure path, and setup
// files that carry an Authenticode signature behind the payload.
#include "payload/extract_payload_item.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "tests/support/payload_machine.h"
#include "tests/support/pe_image.h"
#include "tests/support/test_product.h"
#include "tools/common/host_files.h"
#include "tools/mksetup/setup_file.h"

namespace payload_test {
namespace {

using tools::mksetup::ItemBytes;

const std::string kSetup = "C:\\Setup\\setup.exe";
const std::string kName = "Stop.wa_";
constexpr int kStyle = 4144;

// The sizes of the product's own setup file, in run order, and its 81,920-byte image.
constexpr std::array<std::int32_t, 8> kSizes = {313471, 2576, 10594, 2990,
                                                3866,   3375, 29348, 113311};
constexpr std::size_t kImageSize = 81920;

// Items of the given sizes: the SZDD signature, then bytes that differ from item to item.
ItemBytes SignedOnlyItems(const std::array<std::int32_t, 8>& sizes) {
  ItemBytes items;
  for (std::size_t i = 0; i < items.size(); ++i) {
    items[i] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
    for (std::size_t at = items[i].size(); at < static_cast<std::size_t>(sizes[i]); ++at) {
      items[i].push_back(static_cast<std::uint8_t>(i * 31 + at * 7));
    }
  }
  return items;
}

class ExtractPayloadItemTest : public PayloadMachine {
 protected:
  ExtractPayloadItemTest() { EXPECT_EQ(folder.Make("C:\\Temp"), 0); }

  // Extracts from the setup file as it is on the disk now, under `name` in the run's folder.
  platform::FileChannel* Extract(std::int32_t size, std::int32_t bytesAfter,
                                 const std::string& name = kName) {
    int error = 0;
    setup = backend.files.Open(kSetup, platform::ChannelMode::kRead, error);
    EXPECT_TRUE(setup) << "error " << error;
    if (!setup) return nullptr;
    return payload::ExtractPayloadItem(platform, *setup, folder, name, size, bytesAfter, showErrors);
  }

  static Bytes Read(platform::FileChannel& item) {
    Bytes bytes(static_cast<std::size_t>(item.Length()));
    EXPECT_TRUE(item.ReadAt(0, bytes.data(), bytes.size()));
    return bytes;
  }

  // Extracts every item in run order and compares it with the one appended.
  void ExpectAllItemsExtract(const ItemBytes& items) {
    std::int32_t bytesAfter = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const auto size = static_cast<std::int32_t>(items[i].size());
      platform::FileChannel* item = Extract(size, bytesAfter, "item" + std::to_string(i));
      ASSERT_TRUE(item) << "item " << i + 1;
      ASSERT_EQ(Read(*item), items[i]) << "item " << i + 1;
      bytesAfter += size;
    }
    ExpectNoMessage();
  }

  void ExpectFailure(const std::string& name = kName) {
    ExpectOneMessage("File '" + folder.Path() + "\\" + name + "' could not be written!", kStyle,
                     "Error");
  }

  payload::RunFolder folder{backend.files};
  std::unique_ptr<platform::FileChannel> setup;
  bool showErrors = true;
};

TEST_F(ExtractPayloadItemTest, FindsEveryItemOfTheProductsLayoutFromTheEndOfTheFile) {
  const ItemBytes items = SignedOnlyItems(kSizes);
  Bytes setupFile = tools::mksetup::AssembleSetupFile(Bytes(kImageSize, 0x90), items);
  // Without the padding that mksetup adds for a signature, as the original setup file.
  setupFile.erase(setupFile.begin() + kImageSize, setupFile.begin() + kImageSize + 5);
  ASSERT_EQ(setupFile.size(), 561451u);
  WriteFile(kSetup, setupFile);

  platform::FileChannel* item = Extract(2576, 313471);  // item 2, "Stop.wa_"
  ASSERT_TRUE(item);
  const Bytes stop = Read(*item);
  EXPECT_TRUE(std::equal(stop.begin(), stop.end(), setupFile.begin() + 245404));
  EXPECT_EQ(stop, items[1]);
  EXPECT_EQ(ReadFile(folder.Path() + "\\" + kName), items[1]);
  // Item 1 ends the file; item 8 starts the payload.
  EXPECT_TRUE(std::equal(items[0].begin(), items[0].end(), setupFile.end() - 313471));
  EXPECT_TRUE(std::equal(items[7].begin(), items[7].end(), setupFile.begin() + kImageSize));
  ASSERT_EQ(folder.Remove(), 0);
  ASSERT_EQ(folder.Make("C:\\Temp"), 0);
  ExpectAllItemsExtract(items);
  // The folder holds one file for each item, no more.
  EXPECT_FALSE(Extract(2576, 313471, "ninth"));
  ExpectFailure("ninth");
}

TEST_F(ExtractPayloadItemTest, FindsItemsOfAnySizeBehindAnyImage) {
  const ItemBytes items = SignedOnlyItems({5000, 100, 2000, 9, 300, 8, 40000, 7});
  WriteFile(kSetup, tools::mksetup::AssembleSetupFile(Bytes(1234, 'M'), items));
  ExpectAllItemsExtract(items);
}

class ExtractionFailureTest : public ExtractPayloadItemTest {
 protected:
  ExtractionFailureTest() {
    WriteFile(kSetup,
              tools::mksetup::AssembleSetupFile(Bytes(kImageSize, 0), SignedOnlyItems(kSizes)));
  }
};

TEST_F(ExtractionFailureTest, AFolderThatIsGone) {
  std::filesystem::remove_all(*backend.files.HostPath(folder.Path()));
  EXPECT_FALSE(Extract(kSizes[1], kSizes[0]));
  ExpectFailure();
}

TEST_F(ExtractionFailureTest, ASetupFileTooShortForTheItem) {
  EXPECT_FALSE(Extract(300000, 300000));
  ExpectFailure();
  EXPECT_FALSE(FileExists(folder.Path() + "\\" + kName));
}

TEST_F(ExtractionFailureTest, AnOverflowingPosition) {
  EXPECT_FALSE(Extract(100, std::numeric_limits<std::int32_t>::max()));
  ExpectFailure();
}

TEST_F(ExtractionFailureTest, ASizeBelowOneOrNegativeBytesAfter) {
  EXPECT_FALSE(Extract(0, 0));
  backend.toolkit.ClearRecords();
  EXPECT_FALSE(Extract(100, -1));
  ExpectFailure();
}

// The PE headers are read first, then the item: either read may fail.
TEST_F(ExtractionFailureTest, AReadThatFails) {
  for (int nth : {1, 2}) {
    backend.toolkit.ClearRecords();
    backend.faults.Fail("Read", 23, nth);
    EXPECT_FALSE(Extract(kSizes[1], kSizes[0], "item" + std::to_string(nth))) << nth;
    ExpectFailure("item" + std::to_string(nth));
  }
}

TEST_F(ExtractionFailureTest, ALengthThatCannotBeRead) {
  backend.faults.Fail("Length", 5);
  EXPECT_FALSE(Extract(kSizes[1], kSizes[0]));
  ExpectFailure();
}

TEST_F(ExtractionFailureTest, AWriteThatFails) {
  backend.faults.Fail("Write", 112);
  EXPECT_FALSE(Extract(kSizes[1], kSizes[0]));
  ExpectFailure();
}

// A name made once in the folder is never opened again: a second item of that name fails.
TEST_F(ExtractionFailureTest, ANameThatTheFolderHoldsAlready) {
  ASSERT_TRUE(Extract(kSizes[1], kSizes[0]));
  EXPECT_FALSE(Extract(kSizes[2], kSizes[0] + kSizes[1]));
  ExpectFailure();
}

// A caller that tells the failure in its own words hears of it only by the result.
TEST_F(ExtractionFailureTest, FailsWithoutAWordWhenNotAskedToShowIt) {
  showErrors = false;
  EXPECT_FALSE(Extract(kSizes[1], kSizes[0] + 1));
  ExpectNoMessage();
  EXPECT_TRUE(Extract(kSizes[1], kSizes[0]));
}

// Sizes that do not match the file locate bytes that are no SZDD file: never an item.
TEST_F(ExtractionFailureTest, BytesThatAreNoSzddFile) {
  EXPECT_FALSE(Extract(kSizes[1], kSizes[0] + 1));
  ExpectFailure();
  EXPECT_FALSE(FileExists(folder.Path() + "\\" + kName));
}

TEST_F(ExtractPayloadItemTest, ASignedSetupFileStillGivesEveryItem) {
  const ItemBytes items = SignedOnlyItems(kSizes);
  for (bool pe32Plus : {false, true}) {
    SCOPED_TRACE(pe32Plus ? "PE32+" : "PE32");
    Bytes setupFile =
        tools::mksetup::AssembleSetupFile(PeImage(pe32Plus, kImageSize + 3), items);
    const std::size_t unsignedSize = setupFile.size();
    Sign(setupFile, pe32Plus);
    ASSERT_EQ(setupFile.size(), unsignedSize + 1432);  // no padding was needed
    WriteFile(kSetup, setupFile);
    ExpectAllItemsExtract(items);
    ASSERT_EQ(folder.Remove(), 0);
    ASSERT_EQ(folder.Make("C:\\Temp"), 0);
  }
}

// A security directory that points anywhere but at the file's end names no signature of
// ours: the payload ends with the file.
TEST_F(ExtractPayloadItemTest, ASecurityDirectoryThatDoesNotEndTheFileIsIgnored) {
  const ItemBytes items = SignedOnlyItems(kSizes);
  Bytes setupFile = tools::mksetup::AssembleSetupFile(PeImage(false, kImageSize), items);
  Bytes signedFile = setupFile;
  Sign(signedFile, false);
  std::copy(signedFile.begin(), signedFile.begin() + 0x400, setupFile.begin());  // headers only
  WriteFile(kSetup, setupFile);
  ExpectAllItemsExtract(items);
}

// A setup file built from a real Windows program and signed with osslsigncode, as a
// release is signed.
TEST_F(ExtractPayloadItemTest, ASetupFileSignedWithOsslsigncodeStillGivesEveryItem) {
#ifdef OSSLSIGNCODE
  const std::filesystem::path work = root / "signing";
  std::filesystem::create_directories(work);
  Bytes image;
  ASSERT_TRUE(tools::ReadWholeFile(SAMPLE_WINDOWS_PROGRAM, image));
  const ItemBytes items = TestItems();
  const Bytes setupFile = tools::mksetup::AssembleSetupFile(image, items);
  ASSERT_TRUE(tools::WriteWholeFile(work / "setup.exe", setupFile));
  const std::string in = "'" + work.string() + "/";
  ASSERT_EQ(std::system((std::string(OPENSSL) + " req -x509 -newkey rsa:2048 -nodes -days 2" +
                         " -subj /CN=Pelmora -keyout " + in + "key.pem' -out " + in +
                         "cert.pem' >/dev/null 2>&1")
                            .c_str()),
            0);
  ASSERT_EQ(std::system((std::string(OSSLSIGNCODE) + " sign -certs " + in + "cert.pem' -key " + in +
                         "key.pem' -in " + in + "setup.exe' -out " + in + "signed.exe' >/dev/null")
                            .c_str()),
            0);
  Bytes signedSetup;
  ASSERT_TRUE(tools::ReadWholeFile(work / "signed.exe", signedSetup));
  ASSERT_GT(signedSetup.size(), setupFile.size());
  WriteFile(kSetup, signedSetup);
  ExpectAllItemsExtract(items);
#else
  GTEST_SKIP() << "osslsigncode, openssl or a Windows program to sign is missing";
#endif
}

}  // namespace
}  // namespace payload_test
