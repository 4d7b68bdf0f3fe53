// What the platform refuses without the chooser checking first: the chooser tells the
// user briefly, stays open and can still be used; the program never ends for it.
#include "tests/ui/chooser_fixture.h"

namespace {

using namespace platform;
using ui_test::ChooserTest;

class PlatformRefusal : public ChooserTest {
 protected:
  void TearDown() override {
    EXPECT_FALSE(backend.toolkit.Ended());
    EXPECT_TRUE(backend.toolkit.ErrorReports().empty());
  }

  void ExpectError(std::size_t index, const std::string& text) {
    ASSERT_LT(index, Messages().size());
    EXPECT_EQ(Messages()[index].text, text);
    EXPECT_EQ(Messages()[index].style, 48);
    EXPECT_EQ(Messages()[index].title, "Error");
  }

  void NewFolder(const std::string& name) {
    backend.toolkit.AnswerInputBox(name);
    chooser->Command1.UserClick();
  }
};

TEST_F(PlatformRefusal, AFolderNameTheFileSystemRejectsIsReportedAndTheNextOneWorks) {
  Open("C:\\Games");
  NewFolder("a<b");
  ExpectError(0, "C:\\Games\\a<b could not be created!");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
  backend.faults.Fail("MkDir", SystemError::kAccessDenied);
  NewFolder("Locked");
  ExpectError(1, "C:\\Games\\Locked could not be created!");
  EXPECT_FALSE(drives.IsFolder("C:\\Games\\Locked"));
  NewFolder("Open");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games\\Open");
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(PlatformRefusal, ANameThatIsAFileIsReportedAsAFolderThatCannotBeOpened) {
  drives.MakeFile("C:\\Games\\notes");
  Open("C:\\Games");
  NewFolder("notes");
  ExpectError(0, "C:\\Games\\notes could not be opened!");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
}

TEST_F(PlatformRefusal, AFolderGoneBeforeItIsOpenedIsReported) {
  Open("C:\\Games");
  std::filesystem::remove_all(*backend.files.HostPath("C:\\Games\\Tools"));
  OpenEntry("Tools");
  ExpectError(0, "C:\\Games\\Tools could not be opened!");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
}

TEST_F(PlatformRefusal, ADriveThatIsNotReadyIsReportedAndTheListGoesBackSoItCanBePickedAgain) {
  drives.Add('e', DriveKind::kFixed, 3000).ready = false;
  Open("C:\\Games");
  Pick('e');
  ExpectError(0, "e: could not be opened!");
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(chooser->Drive1.Drive(), "c:");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
  EXPECT_EQ(chooser->Label3.Caption(), "1,234,567 KB");

  backend.files.Drive('e').ready = true;
  Pick('e');
  EXPECT_EQ(chooser->Dir1.Path(), "E:\\");
  EXPECT_EQ(chooser->Label3.Caption(), "3,000 KB");
}

TEST_F(PlatformRefusal, AFolderOnARefusedDriveAndABrokenDriveCDoNotSendTheListsInCircles) {
  drives.Add('d', DriveKind::kCdRom);
  drives.MakeFolder("D:\\Setup");
  drives.Add('r', DriveKind::kRamDisk);
  backend.files.Drive('c').ready = false;
  Open("D:\\Setup");
  EXPECT_EQ(chooser->Dir1.Path(), "D:\\Setup");
  backend.toolkit.ClearRecords();
  Pick('r');
  ASSERT_EQ(Messages().size(), 3u);
  EXPECT_EQ(Messages()[0].text, "Pelmora can not be installed into a RAM driver.");
  ExpectError(1, "c: could not be opened!");
  ExpectError(2, "c: could not be opened!");
  EXPECT_EQ(chooser->Dir1.Path(), "D:\\Setup");
  EXPECT_TRUE(chooser->Visible());
}

// A machine whose drives are D (fixed, 4,000 KB free, with D:\Apps) and E (CD).
class NoDriveC : public PlatformRefusal {
 protected:
  void SetUp() override {
    drives.Add('d', DriveKind::kFixed, 4000);
    drives.MakeFolder("D:\\Apps");
    drives.Add('e', DriveKind::kCdRom);
  }

  void ExpectNoDriveC(std::size_t index) {
    ASSERT_LT(index, Messages().size());
    EXPECT_EQ(Messages()[index].text, "c:\\ couldn't be found!");
    EXPECT_EQ(Messages()[index].style, 4144);
    EXPECT_EQ(Messages()[index].title, "Driver");
  }
};

TEST_F(NoDriveC, ARefusedDriveLeavesBothListsOnTheFolderShown) {
  Open("D:\\Apps");
  EXPECT_TRUE(Messages().empty());
  Pick('e');
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0].text, "Pelmora can not be installed into a CD driver.");
  ExpectNoDriveC(1);
  EXPECT_EQ(chooser->Drive1.Drive(), "d:");
  EXPECT_EQ(chooser->Dir1.Path(), "D:\\Apps");
  EXPECT_EQ(chooser->Label3.Caption(), "4,000 KB");
  chooser->Command2.UserClick();
  ExpectHandedBack("D:\\Apps");
}

TEST_F(NoDriveC, AMissingDestinationIsReportedAndADriveCanStillBeChosen) {
  Open("D:\\Gone");
  ASSERT_EQ(Messages().size(), 2u);
  ExpectNoDriveC(0);
  ExpectError(1, "c: could not be opened!");
  EXPECT_EQ(chooser->Label3.Caption(), " KB");
  chooser->Command2.UserClick();
  EXPECT_EQ(Messages().back().title, "Warning");

  Pick('d');
  EXPECT_EQ(chooser->Dir1.Path(), "D:\\");
  EXPECT_EQ(chooser->Label3.Caption(), "4,000 KB");
  chooser->Command2.UserClick();
  ExpectHandedBack(std::nullopt);
}

}  // namespace
