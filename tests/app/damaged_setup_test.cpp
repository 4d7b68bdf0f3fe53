// A setup file that is not the one the program was built with, run over an earlier
// installation: cut short, grown, or with a byte changed inside an item. No earlier file is
// touched by what it holds, and the user is told.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "product/pelmora.h"
#include "setup_file/layout.h"
#include "tests/app/wizard_harness.h"

namespace app_test {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr char kDestination[] = "C:\\Program Files\\Pelmora";
constexpr char kSetup[] = "C:\\Setup\\setup.exe";
constexpr char kDamaged[] =
    "The setup file is damaged! Nothing has been installed. Please get a new copy of the setup "
    "program.";

class DamagedSetupFile : public ::testing::Test {
 protected:
  DamagedSetupFile() {
    WizardHarness builder;
    builder.WriteSetupFile();
    setup = Read(builder.Host(kSetup));
  }

  static Bytes Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static std::string Installed(const product::ProductFile& file) {
    return std::string(kDestination) + "\\" + std::string(file.installedName);
  }
  static std::string Content(WizardHarness& h, const product::ProductFile& file) {
    const Bytes bytes = Read(h.Host(Installed(file)));
    return std::string(bytes.begin(), bytes.end());
  }

  // A machine with an earlier installation runs the setup file `file` to its end.
  std::unique_ptr<WizardHarness> InstallFrom(const Bytes& file) {
    auto h = std::make_unique<WizardHarness>();
    h->MakeFolder(kDestination);
    for (const auto& product : product::kProductFiles) h->WriteFile(Installed(product), "earlier");
    std::ofstream(h->Host(kSetup), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    h->Start();
    h->GoToDestinationPage();
    h->Click(h->Wizard().Command2);
    return h;
  }

  static int EarlierFilesKept(WizardHarness& h) {
    int kept = 0;
    for (const auto& file : product::kProductFiles) kept += Content(h, file) == "earlier";
    return kept;
  }

  // Where item `item` (in run order) starts in the setup file.
  std::size_t ItemStart(std::size_t item) const {
    std::size_t behind = 0;
    for (std::size_t i = 0; i <= item; ++i)
      behind += static_cast<std::size_t>(setup_file::kItemTable[i].size);
    return setup.size() - behind;
  }

  Bytes setup;
};

// Cut anywhere, or with bytes behind the payload, no item lies where the table says.
TEST_F(DamagedSetupFile, CutShortOrGrownItInstallsNothingAndSaysSo) {
  const std::size_t lengths[] = {0,
                                 100,
                                 setup.size() / 2,
                                 ItemStart(0) + 1,
                                 setup.size() - 8,
                                 setup.size() - 1,
                                 setup.size() + 1,
                                 setup.size() + 8};
  for (const std::size_t length : lengths) {
    SCOPED_TRACE("a setup file of " + std::to_string(length) + " bytes instead of " +
                 std::to_string(setup.size()));
    Bytes file = setup;
    file.resize(length, 0);
    const auto h = InstallFrom(file);
    EXPECT_TRUE(h->Ended());
    ASSERT_EQ(h->toolkit.Messages().size(), 1u);
    EXPECT_EQ(h->toolkit.Messages()[0].text, kDamaged);
    EXPECT_EQ(EarlierFilesKept(*h), 8);
    EXPECT_TRUE(h->RunFolders().empty());
    EXPECT_FALSE(h->registry.KeyExists(platform::kHKeyLocalMachine, "Software\\Quorvalen\\PLM"));
  }
}

// One byte changed inside an item's compressed data, or in its mode byte: that item keeps its
// earlier file; the application's stops the run before anything else is touched.
class ChangedByte : public DamagedSetupFile, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(ChangedByte, TheItemKeepsItsEarlierFileAndTheUserIsTold) {
  const std::size_t item = GetParam();
  const product::ProductFile& product = product::kProductFiles[item];
  for (const std::size_t offset :
       {std::size_t{8}, static_cast<std::size_t>(setup_file::kItemTable[item].size) / 2}) {
    SCOPED_TRACE("byte " + std::to_string(offset) + " of " + std::string(product.temporaryName));
    Bytes file = setup;
    file[ItemStart(item) + offset] ^= 0x5A;
    const auto h = InstallFrom(file);
    EXPECT_EQ(Content(*h, product), "earlier");
    // One failure, one message: the application's own, any other item's the run's.
    ASSERT_EQ(h->toolkit.Messages().size(), 1u);
    EXPECT_EQ(h->toolkit.Messages()[0].title == "Pelmora", item != 0);
    if (item == 0) {
      EXPECT_TRUE(h->Ended());
      EXPECT_EQ(EarlierFilesKept(*h), 8);
    } else {
      EXPECT_EQ(h->Wizard().Label11.Caption(),
                "Finished with errors. Missing: " + std::string(product.installedName) + ".");
      EXPECT_EQ(EarlierFilesKept(*h), 1);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryItem, ChangedByte,
                         ::testing::Range<std::size_t>(0, setup_file::kItemCount));

}  // namespace
}  // namespace app_test
