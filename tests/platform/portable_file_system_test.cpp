// The portable file system stands in for Windows in every host test: these are the
// behaviours of Windows that the program's procedures meet.
#include "platform/portable/portable_file_system.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

namespace fs = std::filesystem;
using namespace platform;

class PortableFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() /
           ("pelmora-fs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root);
    fs::create_directories(root / "c" / "Program Files");
    portable::DriveSetup drive;
    drive.hostRoot = root / "c";
    files.MapDrive('C', drive);
  }
  void TearDown() override { fs::remove_all(root); }

  void WriteHostFile(const fs::path& path, const std::string& text) { std::ofstream(path) << text; }

  fs::path root;
  portable::FaultPlan faults;
  portable::PortableFileSystem files{faults};
};

TEST_F(PortableFileSystemTest, NamesResolveWithoutRegardToLetterCase) {
  EXPECT_EQ(files.GetAttributes("c:\\PROGRAM FILES"), Attribute::kDirectory);
  EXPECT_EQ(files.MkDir("C:\\program files\\Pelmora"), 0);
  EXPECT_TRUE(fs::is_directory(root / "c" / "Program Files" / "Pelmora"));
  EXPECT_EQ(files.MkDir("C:\\PROGRAM FILES\\PELMORA"), SystemError::kAlreadyExists);
  EXPECT_EQ(files.GetAttributes("D:\\"), Attribute::kNoEntry);
}

TEST_F(PortableFileSystemTest, MkDirNeedsTheParentAndRejectsInvalidNames) {
  EXPECT_EQ(files.MkDir("C:\\Gone\\Pelmora"), SystemError::kPathNotFound);
  EXPECT_EQ(files.MkDir("C:\\a|b"), SystemError::kInvalidName);
  EXPECT_EQ(files.MkDir("X:\\Pelmora"), SystemError::kPathNotFound);
  files.Drive('c').ready = false;
  EXPECT_EQ(files.MkDir("C:\\Pelmora"), SystemError::kNotReady);
}

TEST_F(PortableFileSystemTest, ExistsFindsFoldersOnlyWhenAskedAndNeverHiddenEntries) {
  WriteHostFile(root / "c" / "plain.txt", "x");
  WriteHostFile(root / "c" / "hidden.txt", "x");
  files.SetAttributes("C:\\hidden.txt", Attribute::kHidden);
  EXPECT_TRUE(Exists(files, "C:\\plain.txt", Attribute::kNormal));
  EXPECT_FALSE(Exists(files, "C:\\hidden.txt", Attribute::kNormal));
  EXPECT_FALSE(Exists(files, "C:\\hidden.txt", Attribute::kDirectory));
  EXPECT_TRUE(Exists(files, "C:\\hidden.txt", Attribute::kHidden));
  EXPECT_FALSE(Exists(files, "C:\\Program Files", Attribute::kNormal));
  EXPECT_TRUE(Exists(files, "C:\\Program Files", Attribute::kDirectory));
}

TEST_F(PortableFileSystemTest, AWriteChannelEmptiesAFileAndLocksItWhileOpen) {
  WriteHostFile(root / "c" / "item.bin", "a much longer earlier content");
  int error = 0;
  auto writer = files.Open("C:\\ITEM.BIN", ChannelMode::kWriteLocked, error);
  ASSERT_TRUE(writer);
  EXPECT_FALSE(files.Open("C:\\item.bin", ChannelMode::kRead, error));
  EXPECT_EQ(error, SystemError::kSharingViolation);
  EXPECT_EQ(files.Kill("C:\\*.*"), SystemError::kSharingViolation);
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  EXPECT_TRUE(writer->Write(bytes, 3));
  EXPECT_TRUE(writer->Close());

  auto reader = files.Open("C:\\item.bin", ChannelMode::kRead, error);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Length(), 3);
  std::uint8_t back[3] = {};
  EXPECT_TRUE(reader->ReadAt(0, back, 3));
  EXPECT_FALSE(reader->ReadAt(1, back, 3));  // past the end
}

TEST_F(PortableFileSystemTest, OpenTellsAMissingFileFromAMissingFolder) {
  int error = 0;
  EXPECT_FALSE(files.Open("C:\\missing.bin", ChannelMode::kRead, error));
  EXPECT_EQ(error, SystemError::kFileNotFound);
  EXPECT_FALSE(files.Open("C:\\Gone\\missing.bin", ChannelMode::kRead, error));
  EXPECT_EQ(error, SystemError::kPathNotFound);
  EXPECT_FALSE(files.Open("C:\\Gone\\new.bin", ChannelMode::kWriteLocked, error));
  EXPECT_EQ(error, SystemError::kPathNotFound);
}

TEST_F(PortableFileSystemTest, KillDeletesMatchingFilesAndSaysWhenNothingMatched) {
  fs::create_directories(root / "c" / "Temp" / "PLMTMP" / "sub");
  WriteHostFile(root / "c" / "Temp" / "PLMTMP" / "Stop.wa_", "x");
  WriteHostFile(root / "c" / "Temp" / "PLMTMP" / "noext", "x");
  WriteHostFile(root / "c" / "Temp" / "PLMTMP" / "locked", "x");
  files.SetAttributes("C:\\Temp\\PLMTMP\\locked", Attribute::kReadOnly);
  EXPECT_EQ(files.Kill("C:\\Temp\\PLMTMP\\*.*"), SystemError::kAccessDenied);
  EXPECT_FALSE(fs::exists(root / "c" / "Temp" / "PLMTMP" / "Stop.wa_"));
  EXPECT_FALSE(fs::exists(root / "c" / "Temp" / "PLMTMP" / "noext"));
  EXPECT_TRUE(fs::exists(root / "c" / "Temp" / "PLMTMP" / "locked"));
  EXPECT_EQ(files.RmDir("C:\\Temp\\PLMTMP"), SystemError::kDirNotEmpty);
  EXPECT_EQ(files.Kill("C:\\Temp\\PLMTMP\\sub\\*.*"), SystemError::kFileNotFound);
}

TEST_F(PortableFileSystemTest, FullPathOfABareDriveIsItsCurrentFolder) {
  files.Drive('c').currentFolder = "\\Games";
  EXPECT_EQ(files.FullPath("c:"), "C:\\Games");
  EXPECT_EQ(files.FullPath("c:\\a\\..\\b"), "c:\\b");
  EXPECT_EQ(files.FullPath("C:\\"), "C:\\");
}

TEST_F(PortableFileSystemTest, FaultsHitTheNthCallOnceOrForGood) {
  faults.Fail("MkDir", SystemError::kAccessDenied, 2);
  EXPECT_EQ(files.MkDir("C:\\one"), 0);
  EXPECT_EQ(files.MkDir("C:\\two"), SystemError::kAccessDenied);
  EXPECT_EQ(files.MkDir("C:\\three"), 0);
  faults.Fail("RmDir", SystemError::kAccessDenied, 1, /*persistent=*/true);
  EXPECT_NE(files.RmDir("C:\\one"), 0);
  EXPECT_NE(files.RmDir("C:\\three"), 0);
}

}  // namespace
