// The portable file system stands in for Windows in every host test: these are the
// behaviours of Windows that the program's procedures meet.
#include "platform/portable/portable_file_system.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

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

// A new file is made, never opened: nothing that has the name already is written through,
// whatever it is, and it is the program's alone while open.
TEST_F(PortableFileSystemTest, ANewFileIsMadeNeverOpenedAndIsLockedWhileOpen) {
  WriteHostFile(root / "c" / "victim.txt", "the victim");
  WriteHostFile(root / "c" / "item.bin", "an earlier file");
  fs::create_symlink(root / "c" / "victim.txt", root / "c" / "link.bin");
  fs::create_symlink(root / "c" / "nowhere.txt", root / "c" / "dangling.bin");
  fs::create_hard_link(root / "c" / "victim.txt", root / "c" / "hard.bin");
  int error = 0;
  for (const char* taken : {"C:\\ITEM.BIN", "C:\\link.bin", "C:\\dangling.bin", "C:\\hard.bin",
                            "C:\\Program Files"}) {
    SCOPED_TRACE(taken);
    EXPECT_FALSE(files.Open(taken, ChannelMode::kCreateNew, error));
    EXPECT_EQ(error, SystemError::kFileExists);
  }
  EXPECT_FALSE(fs::exists(root / "c" / "nowhere.txt"));
  std::ifstream victim(root / "c" / "victim.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "the victim");

  auto writer = files.Open("C:\\new.bin", ChannelMode::kCreateNew, error);
  ASSERT_TRUE(writer);
  EXPECT_FALSE(files.Open("C:\\new.bin", ChannelMode::kRead, error));
  EXPECT_EQ(error, SystemError::kSharingViolation);
  auto other = files.Open("C:\\other.bin", ChannelMode::kCreateNew, error);
  ASSERT_TRUE(other);
  EXPECT_EQ(other->MoveTo("C:\\new.bin"), SystemError::kSharingViolation);
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  EXPECT_TRUE(writer->Write(bytes, 3));
  std::uint8_t back[3] = {};
  EXPECT_TRUE(writer->ReadAt(0, back, 3));  // read back through the same channel
  EXPECT_EQ(back[2], 'w');
  EXPECT_TRUE(writer->Close());

  auto reader = files.Open("C:\\new.bin", ChannelMode::kRead, error);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Length(), 3);
  EXPECT_FALSE(reader->ReadAt(1, back, 3));  // past the end
}

TEST_F(PortableFileSystemTest, OpenTellsAMissingFileFromAMissingFolder) {
  int error = 0;
  EXPECT_FALSE(files.Open("C:\\missing.bin", ChannelMode::kRead, error));
  EXPECT_EQ(error, SystemError::kFileNotFound);
  EXPECT_FALSE(files.Open("C:\\Gone\\missing.bin", ChannelMode::kRead, error));
  EXPECT_EQ(error, SystemError::kPathNotFound);
  EXPECT_FALSE(files.Open("C:\\Gone\\new.bin", ChannelMode::kCreateNew, error));
  EXPECT_EQ(error, SystemError::kPathNotFound);
}

// What a channel made is deleted through it, wherever it moved since; a link whose name it
// took is gone with it, and what the link led to stays.
TEST_F(PortableFileSystemTest, ADiscardedFileIsTheOneTheChannelMade) {
  WriteHostFile(root / "c" / "victim.txt", "the victim");
  fs::create_symlink(root / "c" / "victim.txt", root / "c" / "link.txt");
  int error = 0;
  auto made = files.Open("C:\\made.txt", ChannelMode::kCreateNew, error);
  ASSERT_TRUE(made);
  EXPECT_EQ(made->MoveTo("C:\\link.txt"), 0);
  EXPECT_EQ(made->Discard(), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(root / "c" / "link.txt")));
  EXPECT_FALSE(fs::exists(root / "c" / "made.txt"));
  EXPECT_TRUE(fs::exists(root / "c" / "victim.txt"));

  auto reader = files.Open("C:\\victim.txt", ChannelMode::kRead, error);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Discard(), SystemError::kAccessDenied);  // only what the program made
  EXPECT_TRUE(fs::exists(root / "c" / "victim.txt"));
  auto failing = files.Open("C:\\failing.txt", ChannelMode::kCreateNew, error);
  faults.Fail("DeleteFile", SystemError::kAccessDenied);
  EXPECT_EQ(failing->Discard(), SystemError::kAccessDenied);
  EXPECT_TRUE(fs::exists(root / "c" / "failing.txt"));
  EXPECT_TRUE(files.Open("C:\\failing.txt", ChannelMode::kRead, error));  // closed all the same
}

TEST_F(PortableFileSystemTest, LinksAreToldApartFromFilesAndFolders) {
  WriteHostFile(root / "c" / "plain.txt", "x");
  WriteHostFile(root / "c" / "victim.txt", "x");
  fs::create_symlink(root / "c" / "victim.txt", root / "c" / "link.txt");
  fs::create_symlink(root / "c" / "nowhere.txt", root / "c" / "dangling.txt");
  fs::create_directory_symlink(root / "c" / "Program Files", root / "c" / "folder link");
  fs::create_hard_link(root / "c" / "victim.txt", root / "c" / "hard.txt");
  EXPECT_FALSE(files.IsLink("C:\\plain.txt"));
  EXPECT_FALSE(files.IsLink("C:\\Program Files"));
  for (const char* link : {"C:\\link.txt", "C:\\dangling.txt", "C:\\folder link",
                           "C:\\hard.txt", "C:\\victim.txt"}) {
    EXPECT_TRUE(files.IsLink(link)) << link;
  }
}

// The length comes from the entry, so a file that the program holds open can be measured too.
TEST_F(PortableFileSystemTest, AFileLengthIsReadWithoutOpeningTheFileAndAFolderHasNone) {
  WriteHostFile(root / "c" / "plain.txt", "short");
  int error = 0;
  const auto held = files.Open("C:\\held.txt", ChannelMode::kCreateNew, error);
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  ASSERT_TRUE(held && held->Write(bytes, 3));
  EXPECT_EQ(files.FileLength("C:\\PLAIN.TXT"), 5);
  EXPECT_EQ(files.FileLength("C:\\held.txt"), 3);
  EXPECT_EQ(files.FileLength("C:\\Program Files"), -1);
  EXPECT_EQ(files.FileLength("C:\\none.txt"), -1);
  faults.Fail("FileLength", portable::kOperationFailed);
  EXPECT_EQ(files.FileLength("C:\\plain.txt"), -1);
}

TEST_F(PortableFileSystemTest, AnOwnFolderIsFreshEachTimeAndProtectedWhenElevated) {
  fs::create_directories(root / "c" / "Temp" / "PLMTMP");
  int error = 0;
  const std::string first = files.MakeOwnFolder("C:\\Temp", "PLMTMP", error);
  EXPECT_EQ(error, 0);
  const std::string second = files.MakeOwnFolder("C:\\Temp", "PLMTMP", error);
  EXPECT_NE(first, second);
  for (const std::string& folder : {first, second}) {
    EXPECT_EQ(folder.rfind("C:\\Temp\\PLMTMP-", 0), 0u) << folder;
    EXPECT_GE(folder.size(), std::string("C:\\Temp\\PLMTMP-").size() + 16) << folder;
    EXPECT_EQ(files.GetAttributes(folder), Attribute::kDirectory);
    EXPECT_EQ(files.AccessOf(folder), portable::FolderAccess::kInherited);
  }
  EXPECT_TRUE(fs::is_empty(root / "c" / "Temp" / "PLMTMP"));

  files.SetElevated(true);
  EXPECT_EQ(files.AccessOf(files.MakeOwnFolder("C:\\Temp", "PLMTMP", error)),
            portable::FolderAccess::kAdministratorsOnly);
  EXPECT_EQ(files.MkDir("C:\\Program Files\\Pelmora"), 0);
  EXPECT_EQ(files.AccessOf("C:\\Program Files\\Pelmora"), portable::FolderAccess::kProgramFiles);
  EXPECT_TRUE(files.MakeOwnFolder("C:\\Gone", "PLMTMP", error).empty());
  EXPECT_EQ(error, SystemError::kPathNotFound);
}

// The new file takes the place of an earlier one through its own channel, which stays open.
TEST_F(PortableFileSystemTest, ANewFileMovesIntoThePlaceOfAnother) {
  WriteHostFile(root / "c" / "app.exe", "earlier");
  WriteHostFile(root / "c" / "victim.txt", "the victim");
  fs::create_symlink(root / "c" / "victim.txt", root / "c" / "linked.exe");
  WriteHostFile(root / "c" / "locked.exe", "x");
  files.SetAttributes("C:\\locked.exe", Attribute::kReadOnly);
  int error = 0;
  auto held = files.Open("C:\\app.exe", ChannelMode::kRead, error);
  auto fresh = files.Open("C:\\app.exe.new_", ChannelMode::kCreateNew, error);
  ASSERT_TRUE(fresh);
  const std::uint8_t bytes[] = {'n', 'e', 'w'};
  ASSERT_TRUE(fresh->Write(bytes, 3));
  EXPECT_EQ(fresh->MoveTo("C:\\app.exe"), SystemError::kSharingViolation);
  EXPECT_EQ(fresh->MoveTo("C:\\locked.exe"), SystemError::kAccessDenied);
  EXPECT_EQ(fresh->MoveTo("C:\\Program Files"), SystemError::kAccessDenied);
  held.reset();
  EXPECT_EQ(fresh->MoveTo("C:\\app.exe"), 0);
  EXPECT_FALSE(fs::exists(root / "c" / "app.exe.new_"));
  EXPECT_FALSE(files.Open("C:\\app.exe", ChannelMode::kRead, error));  // it is still open
  EXPECT_EQ(fresh->MoveTo("C:\\linked.exe"), 0);  // the link is replaced, not its target
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(root / "c" / "linked.exe")));
  std::ifstream victim(root / "c" / "victim.txt");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(victim), {}), "the victim");
  EXPECT_TRUE(fresh->Close());
  auto reader = files.Open("C:\\linked.exe", ChannelMode::kRead, error);
  ASSERT_TRUE(reader);
  EXPECT_EQ(reader->Length(), 3);
  EXPECT_EQ(reader->MoveTo("C:\\other.exe"), SystemError::kAccessDenied);
}

// A program that another holds open, as Windows holds a running program's file: nothing takes
// its place, and the system names the holder while it holds it, in any letter case.
TEST_F(PortableFileSystemTest, AFileHeldElsewhereKeepsItsPlaceAndNamesItsHolder) {
  WriteHostFile(root / "c" / "app.exe", "earlier");
  int error = 0;
  auto fresh = files.Open("C:\\app.exe.new_", ChannelMode::kCreateNew, error);
  ASSERT_TRUE(fresh);
  EXPECT_EQ(files.FileHolder("C:\\app.exe"), "");
  files.HoldElsewhere("C:\\app.exe", "Pelmora");
  EXPECT_EQ(files.FileHolder("c:\\APP.exe"), "Pelmora");
  EXPECT_EQ(fresh->MoveTo("C:\\app.exe"), SystemError::kSharingViolation);
  faults.Fail("FileHolder", portable::kOperationFailed);
  EXPECT_EQ(files.FileHolder("C:\\app.exe"), "");  // the system could not tell
  files.ReleaseElsewhere("C:\\APP.EXE");
  EXPECT_EQ(files.FileHolder("C:\\app.exe"), "");
  EXPECT_EQ(fresh->MoveTo("C:\\app.exe"), 0);
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

// A write can also go wrong half way: torn, it puts down part of its bytes and fails; short,
// it puts down part of them and reports success.
TEST_F(PortableFileSystemTest, AWriteIsWholeFailedTornOrShortAsThePlanSays) {
  const std::string bytes = "0123456789";
  const auto data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  struct Case {
    portable::WriteOutcome outcome;
    bool reported;
    std::string written;
  };
  for (const Case& c : {Case{portable::WriteOutcome::kFails, false, ""},
                        Case{portable::WriteOutcome::kTorn, false, "01234"},
                        Case{portable::WriteOutcome::kShort, true, "01234"}}) {
    int error = 0;
    auto file = files.Open("C:\\new.bin", ChannelMode::kCreateNew, error);
    ASSERT_TRUE(file) << error;
    faults.SpoilWrite(c.outcome, 2);
    EXPECT_TRUE(file->Write(data, bytes.size()));
    EXPECT_EQ(file->Write(data, bytes.size()), c.reported);
    EXPECT_TRUE(file->Write(data, bytes.size()));
    file->Close();
    std::ifstream in(root / "c" / "new.bin", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes + c.written + bytes);
    fs::remove(root / "c" / "new.bin");
  }
  EXPECT_THROW(faults.SpoilWrite(portable::WriteOutcome::kWhole), std::invalid_argument);
}

// A program that hangs goes round its platform calls: the first past the limit throws; the
// clean-up's calls as the program unwinds do not.
TEST_F(PortableFileSystemTest, TheCallPastTheLimitOfStepsThrows) {
  faults.LimitSteps(2);
  files.TempPath();
  faults.Step();
  EXPECT_THROW(files.TempPath(), portable::StepLimitReached);
  EXPECT_EQ(files.TempPath(), "C:\\Temp\\");
}

}  // namespace
