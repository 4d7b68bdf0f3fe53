// The room that a run takes of the destination drive at its fullest: the new files in whole
// clusters, each beside the installed file it replaces until it is whole, and the extracted
// items when the temporary folder lies on the same drive.
#include "app/free_space_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/portable/portable_file_system.h"
#include "product/pelmora.h"
#include "tests/support/temp_folder.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kCluster = 4096;
constexpr std::int32_t kClusterKB = 4;
constexpr char kDestination[] = "E:\\Pelmora";

// Clusters of the new files, in run order: 3 2 1 2 0 1 5 2, 16 in all. Each item takes one.
const setup_file::ItemTable kTable = {{
    {100, 10000, {}},  // Pelmora.exe
    {100, 5000, {}},   // Stop.wav
    {100, 4096, {}},   // Start.wav
    {100, 4097, {}},   // Shot.wav
    {100, 0, {}},      // Click.wav
    {100, 1, {}},      // Beep.wav
    {100, 20000, {}},  // Uninstall PLM.exe
    {100, 8192, {}},   // PLM.chm
}};

class FreeSpaceCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char letter : {'C', 'E'}) {
      fs::create_directories(root / std::string(1, letter));
      platform::portable::DriveSetup drive;
      drive.hostRoot = root / std::string(1, letter);
      files.MapDrive(letter, drive);
    }
    fs::create_directories(Host(kDestination));
  }

  fs::path Host(const std::string& path) const { return *files.HostPath(path); }
  // An installed file of `bytes` bytes, by its name in the destination.
  void Install(const std::string& name, std::size_t bytes) {
    std::ofstream(Host(InDestination(name))) << std::string(bytes, 'p');
  }
  // The earlier installation of the same files as the new ones.
  void InstallEveryFileAsLongAsItsNewOne() {
    for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
      Install(std::string(product::kProductFiles[item].installedName), kTable[item].expandedLength);
    }
  }
  static std::string InDestination(const std::string& name) {
    return std::string(kDestination) + "\\" + name;
  }

  std::optional<app::SpaceShortfall> Check(std::uint32_t freeClusters) {
    files.Drive('E').space = {8, 512, freeClusters, 1u << 20};
    return app::FindSpaceShortfall(files, kDestination, temporaryFolder, kTable);
  }
  // The drive takes the run with exactly `clusters` free and refuses it with one fewer,
  // telling both figures.
  void ExpectNeeded(std::uint32_t clusters) {
    EXPECT_FALSE(Check(clusters)) << "refused with " << clusters << " clusters free";
    const std::optional<app::SpaceShortfall> shortfall = Check(clusters - 1);
    ASSERT_TRUE(shortfall) << "accepted with " << clusters - 1 << " clusters free";
    EXPECT_EQ(shortfall->drive, "E:");
    EXPECT_EQ(shortfall->neededKB, static_cast<std::int32_t>(clusters) * kClusterKB);
    EXPECT_EQ(shortfall->freeKB, static_cast<std::int32_t>(clusters - 1) * kClusterKB);
  }

  payload_test::TempFolder root;
  platform::portable::FaultPlan faults;
  platform::portable::PortableFileSystem files{faults};
  std::string temporaryFolder = "C:\\Temp\\PLMTMP-1";
};

TEST_F(FreeSpaceCheckTest, AFreshDestinationNeedsEveryNewFileAndTheItemsKeptOnItsDrive) {
  ExpectNeeded(16);
  temporaryFolder = "e:\\Temp\\PLMTMP-1";
  ExpectNeeded(16 + 8);
}

// Each new file stands beside its earlier version, which then gives its room back: the
// largest new file (5 clusters) is the most the drive holds beyond what it holds now.
TEST_F(FreeSpaceCheckTest, AReinstallNeedsRoomForTheLargestNewFileBesideItsEarlierVersion) {
  InstallEveryFileAsLongAsItsNewOne();
  ExpectNeeded(5);
  // The items stay to the end: 7 of them and the uninstaller's 5 clusters.
  temporaryFolder = "E:\\Temp\\PLMTMP-1";
  ExpectNeeded(7 + 5);
}

// An earlier file of a byte gives back a whole cluster, one of a cluster and a byte two.
TEST_F(FreeSpaceCheckTest, EarlierFilesGiveBackWholeClusters) {
  for (const product::ProductFile& file : product::kProductFiles) {
    Install(std::string(file.installedName), 1);
  }
  // At the help's turn: all 16 new clusters, less the 7 that the other earlier files gave back.
  ExpectNeeded(16 - 7);
  Install("Pelmora.exe", kCluster + 1);
  ExpectNeeded(16 - 8);
}

// A larger earlier file gives room to the files after it, but not to its own new version,
// which is written beside it first.
TEST_F(FreeSpaceCheckTest, ALargerEarlierFileGivesRoomOnlyOnceItsNewVersionIsWhole) {
  Install("Pelmora.exe", 10 * kCluster);
  ExpectNeeded(16 - 10);
  fs::remove(Host(InDestination("Pelmora.exe")));
  Install("PLM.chm", 10 * kCluster);
  ExpectNeeded(16);
}

// What stands in the uninstaller's place and is not replaced gives nothing back: without the
// uninstaller's 5 clusters, the help's 2 go on top of them.
TEST_F(FreeSpaceCheckTest, NothingIsGivenBackWhereNoInstalledFileOfOurOwnIsReplaced) {
  InstallEveryFileAsLongAsItsNewOne();
  const fs::path uninstaller = Host(InDestination("Uninstall PLM.exe"));
  const fs::path elsewhere = Host("E:\\Elsewhere.exe");
  std::ofstream(elsewhere) << std::string(20000, 'p');
  using Replace = void (*)(const fs::path& uninstaller, const fs::path& elsewhere);
  const struct {
    const char* what;
    Replace replace;
  } cases[] = {
      {"nothing", [](const fs::path&, const fs::path&) {}},
      {"a folder", [](const fs::path& at, const fs::path&) { fs::create_directories(at / "x"); }},
      {"a symbolic link",
       [](const fs::path& at, const fs::path& to) { fs::create_symlink(to, at); }},
      {"a hard link", [](const fs::path& at, const fs::path& to) { fs::create_hard_link(to, at); }},
  };
  for (const auto& in_place : cases) {
    SCOPED_TRACE(in_place.what);
    fs::remove_all(uninstaller);
    in_place.replace(uninstaller, elsewhere);
    ExpectNeeded(5 + 2);
  }
}

}  // namespace
}  // namespace app_test
