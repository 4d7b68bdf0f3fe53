// Leaving the chooser: "&Ok" with its free-space rule and the hand-back of the folder,
// and the close box.
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
  EXPECT_EQ(installDir.Trimmed(), "C:\\Games");
  EXPECT_EQ(label10.Caption(), "C:\\Games");
  EXPECT_TRUE(HandedBack());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ChooserTest, OkOnADriveRootKeepsTheEarlierDestination) {
  drives.Add('d');
  Open("C:\\Program Files\\Pelmora");
  Pick('d');
  ASSERT_EQ(chooser->Dir1.Path(), "D:\\");
  chooser->Command2.UserClick();
  EXPECT_EQ(installDir.Trimmed(), "C:\\Program Files\\Pelmora");
  EXPECT_EQ(label10.Caption(), "C:\\Program Files\\Pelmora");
  EXPECT_TRUE(HandedBack());
}

TEST_F(ChooserTest, OkOnARootAfterAMissingDestinationGivesTheWizardsDestinationBack) {
  Open("C:\\Gone");
  ASSERT_EQ(installDir.Trimmed(), "c:");
  chooser->Command2.UserClick();
  EXPECT_EQ(installDir.Trimmed(), "C:\\Gone");
  EXPECT_EQ(label10.Caption(), "C:\\Gone");
  EXPECT_TRUE(HandedBack());
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
  EXPECT_FALSE(wizard.Visible());
  EXPECT_EQ(installDir.Trimmed(), "C:\\Program Files\\Pelmora");

  backend.files.Drive('c').space = ui_test::SpaceOfKB(489);
  chooser->Command2.UserClick();
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(installDir.Trimmed(), "C:\\Games");
  EXPECT_TRUE(HandedBack());
}

TEST_F(ChooserTest, AVeryLargeDiskIsShownAtTheLargestFigureAndAccepted) {
  backend.files.Drive('c').space = DiskSpace{8, 512, 0xFFFFFFF0u, 0xFFFFFFFFu};
  Open("C:\\Games");
  EXPECT_EQ(chooser->Label3.Caption(), "2,147,483,647 KB");
  chooser->Command2.UserClick();
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(installDir.Trimmed(), "C:\\Games");
}

TEST_F(ChooserTest, AFailedFreeSpaceQueryShowsNoFigureAndOkRefuses) {
  backend.faults.Fail("DiskFreeSpace", SystemError::kNotReady, 1, true);
  Open("C:\\Games");
  EXPECT_EQ(chooser->Label3.Caption(), " KB");
  chooser->Command2.UserClick();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].title, "Warning");
  EXPECT_TRUE(chooser->Visible());
}

TEST_F(ChooserTest, TheCloseBoxShowsTheWizardAndChangesNothing) {
  Open("C:\\Program Files\\Pelmora");
  OpenEntry("C:\\");
  OpenEntry("Games");
  chooser->UserClose();
  EXPECT_TRUE(HandedBack());
  EXPECT_EQ(installDir.Trimmed(), "C:\\Program Files\\Pelmora");
  EXPECT_EQ(label10.Caption(), "C:\\Program Files\\Pelmora");
}

TEST_F(ChooserTest, TheCloseBoxAfterAMissingDestinationRestoresTheOneTheWizardShows) {
  Open("D:\\Gone");
  ASSERT_EQ(installDir.Trimmed(), "c:");
  chooser->UserClose();
  EXPECT_TRUE(HandedBack());
  EXPECT_EQ(installDir.Trimmed(), "D:\\Gone");
  EXPECT_EQ(label10.Caption(), "D:\\Gone");
}

TEST_F(ChooserTest, EveryCloseOtherThanTheProgramsOwnShowsTheWizard) {
  for (const UnloadMode mode : {UnloadMode::kAppWindows, UnloadMode::kAppTaskManager}) {
    Open("C:\\Games");
    EXPECT_TRUE(chooser->Unload(mode));
    EXPECT_TRUE(HandedBack());
  }
}

}  // namespace
