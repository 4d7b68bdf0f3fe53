// Leaving the chooser: "&Ok" with its free-space rule and the hand-back of the folder,
// and the other ways out, which hand back nothing.
#include "tests/ui/chooser_fixture.h"

namespace {

using namespace platform;
using ui_test::ChooserTest;

constexpr char kWarning[] =
    "Space in drive is less than 500.000 bytes.\rYou need more space to install Pelmora.";

TEST_F(ChooserTest, OkOnAFolderHandsItBackToTheWizard) {
  Open("C:\\Program Files\\Pelmora");
  chooser->Dir1.UserOpen(0);
  OpenEntry("Games");
  chooser->Command2.UserClick();
  ExpectHandedBack("C:\\Games");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ChooserTest, OkOnADriveRootHandsBackNothing) {
  drives.Add('d');
  Open("C:\\Program Files\\Pelmora");
  Pick('d');
  ASSERT_EQ(chooser->Dir1.Path(), "D:\\");
  chooser->Command2.UserClick();
  ExpectHandedBack(std::nullopt);
}

TEST_F(ChooserTest, OkOnTheRootThatAMissingDestinationStartsAtHandsBackNothing) {
  Open("C:\\Gone");
  ASSERT_EQ(chooser->Dir1.Path(), "C:\\");
  chooser->Command2.UserClick();
  ExpectHandedBack(std::nullopt);
}

TEST_F(ChooserTest, FreeSpaceOf488KBIsRefusedAnd489KBIsEnough) {
  backend.files.Drive('c').space = ui_test::SpaceOfKB(488);
  Open("C:\\Program Files\\Pelmora");
  OpenEntry("C:\\");
  OpenEntry("Games");
  EXPECT_EQ(chooser->Label3.Caption(), "488 KB");
  chooser->Command2.UserClick();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, kWarning);
  EXPECT_EQ(Messages()[0].style, 48);
  EXPECT_EQ(Messages()[0].title, "Warning");
  EXPECT_TRUE(chooser->Visible());
  EXPECT_TRUE(handedBack.empty());

  backend.files.Drive('c').space = ui_test::SpaceOfKB(489);
  chooser->Command2.UserClick();
  EXPECT_EQ(Messages().size(), 1u);
  ExpectHandedBack("C:\\Games");
}

// Every path an installation makes in the folder must fit the system's 259 characters; the
// longest is the uninstaller's new file, 24 characters after the folder.
TEST_F(ChooserTest, AFolderTooLongToInstallIntoIsRefusedAndOneCharacterLessIsTaken) {
  const std::string longest = "C:\\" + std::string(120, 'p') + "\\" + std::string(111, 'q');
  ASSERT_EQ(longest.size(), 235u);
  drives.MakeFolder(longest);
  drives.MakeFolder(longest + "r");
  Open(longest + "r");
  chooser->Command2.UserClick();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "The destination can have at most 235 characters.");
  EXPECT_EQ(Messages()[0].style, 48);
  EXPECT_EQ(Messages()[0].title, "Warning");
  EXPECT_TRUE(chooser->Visible());
  EXPECT_TRUE(handedBack.empty());

  Open(longest);
  chooser->Command2.UserClick();
  EXPECT_EQ(Messages().size(), 1u);
  ExpectHandedBack(longest);
}

TEST_F(ChooserTest, AVeryLargeDiskIsShownAtTheLargestFigureAndAccepted) {
  backend.files.Drive('c').space = DiskSpace{8, 512, 0xFFFFFFF0u, 0xFFFFFFFFu};
  Open("C:\\Games");
  EXPECT_EQ(chooser->Label3.Caption(), "2,147,483,647 KB");
  chooser->Command2.UserClick();
  EXPECT_TRUE(Messages().empty());
  ExpectHandedBack("C:\\Games");
}

TEST_F(ChooserTest, AFailedFreeSpaceQueryShowsNoFigureAndOkRefuses) {
  backend.faults.Fail("DiskFreeSpace", SystemError::kNotReady, 1, true);
  Open("C:\\Games");
  EXPECT_EQ(chooser->Label3.Caption(), " KB");
  chooser->Command2.UserClick();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].title, "Warning");
  EXPECT_TRUE(chooser->Visible());
  EXPECT_TRUE(handedBack.empty());
}

TEST_F(ChooserTest, TheCloseBoxHandsBackNothingWhateverFolderIsOpen) {
  for (const char* destination : {"C:\\Program Files\\Pelmora", "D:\\Gone"}) {
    SCOPED_TRACE(destination);
    Open(destination);
    OpenEntry("C:\\");
    OpenEntry("Games");
    chooser->UserClose();
    ExpectHandedBack(std::nullopt);
  }
}

TEST_F(ChooserTest, TheSystemShuttingDownClosesItWithNothingHandedBack) {
  Open("C:\\Games");
  EXPECT_TRUE(chooser->SessionEnding());
  ExpectHandedBack(std::nullopt);
}

}  // namespace
