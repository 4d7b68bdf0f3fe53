// Changing the drive: the refused kinds of drive, with drive C in their place, and the
// handler that runs again from within itself.
#include "tests/ui/chooser_fixture.h"

namespace {

using namespace platform;
using ui_test::ChooserTest;

struct Refusal {
  char letter;
  std::uint32_t type;
  const char* message;
};

class RefusedDrive : public ChooserTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RefusedDrive, IsRefusedWithItsMessageAndTheListsShowDriveC) {
  const Refusal refusal = GetParam();
  drives.Add(refusal.letter, refusal.type, 9999);
  Open("C:\\Games");
  Pick(refusal.letter);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, refusal.message);
  EXPECT_EQ(Messages()[0].style, 4144);
  EXPECT_EQ(Messages()[0].title, "Driver");
  EXPECT_EQ(chooser->Drive1.Drive(), "c:");
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\");
  EXPECT_EQ(chooser->Label3.Caption(), "1,234,567 KB");
  EXPECT_TRUE(chooser->Visible());
}

INSTANTIATE_TEST_SUITE_P(
    EveryRefusedKind, RefusedDrive,
    ::testing::Values(
        Refusal{'x', DriveKind::kUnknown, "x:\\ couldn't be found!"},
        Refusal{'a', DriveKind::kRemovable, "Pelmora can not be installed into a diskette driver."},
        Refusal{'n', DriveKind::kRemote, "Pelmora can not be installed into a network driver."},
        Refusal{'d', DriveKind::kCdRom, "Pelmora can not be installed into a CD driver."},
        Refusal{'r', DriveKind::kRamDisk, "Pelmora can not be installed into a RAM driver."}));

TEST_F(ChooserTest, FixedDrivesAndDrivesWithoutRootPassWithTheirFigure) {
  drives.Add('e', DriveKind::kFixed, 2000).currentFolder = "\\Work";
  drives.MakeFolder("E:\\Work");
  drives.Add('f', DriveKind::kNoRootDir, 3000);
  Open("C:\\Games");
  Pick('e');
  EXPECT_EQ(chooser->Drive1.Drive(), "e:");
  EXPECT_EQ(chooser->Dir1.Path(), "E:\\Work");
  EXPECT_EQ(chooser->Label3.Caption(), "2,000 KB");
  Pick('f');
  EXPECT_EQ(chooser->Drive1.Drive(), "f:");
  EXPECT_EQ(chooser->Dir1.Path(), "F:\\");
  EXPECT_EQ(chooser->Label3.Caption(), "3,000 KB");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ChooserTest, AfterARefusalTheInnerRunChecksDriveCAndTheOuterRunFinishes) {
  drives.Add('d', DriveKind::kCdRom);
  Open("C:\\Games");
  const int typeQueries = backend.faults.Calls("DriveType");
  const int spaceQueries = backend.faults.Calls("DiskFreeSpace");
  Pick('d');
  // Drive D by the outer run, drive C by the inner one; a figure from each run.
  EXPECT_EQ(backend.faults.Calls("DriveType") - typeQueries, 2);
  EXPECT_EQ(backend.faults.Calls("DiskFreeSpace") - spaceQueries, 2);
  EXPECT_EQ(Messages().size(), 1u);
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\");
}

TEST_F(ChooserTest, ARefusedDriveCEndsTheChainInsteadOfLooping) {
  backend.files.Drive('c').type = DriveKind::kRemote;
  drives.Add('d', DriveKind::kCdRom);
  drives.Add('e', DriveKind::kFixed);
  Open("C:\\Games");
  backend.toolkit.ClearRecords();
  Pick('d');
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_EQ(Messages()[0].text, "Pelmora can not be installed into a CD driver.");
  EXPECT_EQ(Messages()[1].text, "Pelmora can not be installed into a network driver.");
  EXPECT_EQ(chooser->Drive1.Drive(), "c:");
  Pick('e');
  EXPECT_EQ(chooser->Dir1.Path(), "E:\\");
}

}  // namespace
