// Opening the chooser: where it starts, and what it does with a destination that is gone
// or on drive A or B.
#include "tests/ui/chooser_fixture.h"

namespace {

using namespace platform;
using ui_test::ChooserTest;

TEST_F(ChooserTest, OpensOnTheDestinationWithItsCaptionsAndTheFreeSpace) {
  Open("C:\\Program Files\\Pelmora");
  EXPECT_TRUE(chooser->Visible());
  EXPECT_EQ(chooser->Caption(), "Pelmora");
  EXPECT_EQ(chooser->Label1.Caption(), "Select a destination for Pelmora");
  EXPECT_EQ(chooser->Label2.Caption(), "Free Space in Drive");
  EXPECT_EQ(chooser->Command1.Caption(), "&New Folder");
  EXPECT_EQ(chooser->Command2.Caption(), "&Ok");
  EXPECT_EQ(chooser->Drive1.Drive(), "c:");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Program Files\\Pelmora");
  EXPECT_EQ(chooser->Label3.Caption(), "1,234,567 KB");
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(handedBack.empty());
}

TEST_F(ChooserTest, TheDriveListShowsTheVolumeLabel) {
  backend.files.Drive('c').label = "SYSTEM";
  Open("C:\\Games");
  EXPECT_EQ(chooser->Drive1.Drive(), "c: [SYSTEM]");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
}

TEST_F(ChooserTest, AMissingDestinationStartsAtTheCurrentFolderOfDriveC) {
  backend.files.Drive('c').currentFolder = "\\Games";
  drives.Add('d');
  Open("D:\\Gone");
  EXPECT_EQ(chooser->Drive1.Drive(), "c:");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
  EXPECT_EQ(chooser->Label3.Caption(), "1,234,567 KB");
  EXPECT_TRUE(Messages().empty());
}

// The toolkit's existence test leaves hidden and system folders out, as a search does.
TEST_F(ChooserTest, AHiddenOrSystemDestinationCountsAsMissing) {
  drives.Add('d');
  drives.MakeFolder("D:\\Apps");
  for (const std::uint32_t attribute : {Attribute::kHidden, Attribute::kSystem}) {
    SCOPED_TRACE(attribute);
    backend.files.SetAttributes("D:\\Apps", Attribute::kDirectory | attribute);
    Open("D:\\Apps");
    EXPECT_EQ(chooser->Drive1.Drive(), "c:");
    EXPECT_EQ(chooser->Dir1.Path(), "C:\\");
  }
  backend.files.SetAttributes("D:\\Apps", Attribute::kDirectory);
  Open("D:\\Apps");
  EXPECT_EQ(chooser->Dir1.Path(), "D:\\Apps");
}

TEST_F(ChooserTest, ADiskettePathIsRefusedOnOpeningAndTheDriveListMovesToC) {
  drives.Add('a', DriveKind::kRemovable, 1423);
  drives.MakeFolder("A:\\Data");
  Open("A:\\Data");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Pelmora can not be installed into a diskette driver.");
  EXPECT_EQ(Messages()[0].style, 4144);
  EXPECT_EQ(Messages()[0].title, "Driver");
  EXPECT_EQ(chooser->Drive1.Drive(), "c:");
  // The folder list is set to the destination after the drive, and the figure is its drive's.
  EXPECT_EQ(chooser->Dir1.Path(), "A:\\Data");
  EXPECT_EQ(chooser->Label3.Caption(), "1,423 KB");
}

TEST_F(ChooserTest, AFixedDriveBIsLeftForDriveCOnOpening) {
  drives.Add('b', DriveKind::kFixed, 5000);
  drives.MakeFolder("B:\\Data");
  Open("B:\\Data");
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(chooser->Drive1.Drive(), "c:");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\");
  EXPECT_EQ(chooser->Label3.Caption(), "1,234,567 KB");
}

TEST_F(ChooserTest, TheFigureUsesTheUsersThousandsSeparatorOnOpeningAndAfterADriveChange) {
  backend.toolkit.SetThousandsSeparator(".");
  drives.Add('e', DriveKind::kFixed, 7654321);
  Open("C:\\Games");
  EXPECT_EQ(chooser->Label3.Caption(), "1.234.567 KB");
  Pick('e');
  EXPECT_EQ(chooser->Label3.Caption(), "7.654.321 KB");
}

}  // namespace
