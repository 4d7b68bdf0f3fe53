// The drive list: its entries, and when it raises Change.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/portable/portable_platform.h"
#include "tests/platform/list_form.h"
#include "tests/support/mapped_drives.h"

namespace {

using namespace platform;
using ui_test::EntryOf;

class DriveListTest : public ::testing::Test {
 protected:
  DriveListTest() {
    drives.Add('d', DriveKind::kCdRom, 0, "PELMORA15");
    drives.Add('a', DriveKind::kRemovable);
    drives.Add('c', DriveKind::kFixed, 1000, "SYSTEM");
    form = std::make_unique<ui_test::ListForm>(backend.platform);
    list().Change = platform::EventHandler<>::Bind<&DriveListTest::RecordChange>(this);
  }
  DriveList& list() { return form->Drive1; }
  void RecordChange() { changes.push_back(list().Drive()); }

  portable::PortablePlatform backend;
  ui_test::MappedDrives drives{backend.files};
  std::unique_ptr<ui_test::ListForm> form;
  std::vector<std::string> changes;  // the drive as Change found it
};

TEST_F(DriveListTest, EveryDriveIsAnEntryWithItsLabelAndNoneIsSelectedAtFirst) {
  EXPECT_EQ(list().Entries(), (std::vector<std::string>{"a:", "c: [SYSTEM]", "d: [PELMORA15]"}));
  EXPECT_EQ(list().Drive(), "");
  EXPECT_EQ(list().ListIndex(), -1);
}

TEST_F(DriveListTest, ChangeRunsBeforeSetDriveReturnsAndOnlyWhenTheDriveChanges) {
  EXPECT_TRUE(list().SetDrive("C:\\Program Files"));
  EXPECT_EQ(changes, (std::vector<std::string>{"c: [SYSTEM]"}));
  EXPECT_TRUE(list().SetDrive("c:"));
  EXPECT_TRUE(list().SetDrive("c: [SYSTEM]"));
  EXPECT_EQ(changes.size(), 1u);
  EXPECT_TRUE(list().SetDrive("A:"));
  EXPECT_EQ(changes, (std::vector<std::string>{"c: [SYSTEM]", "a:"}));
  EXPECT_EQ(list().ListIndex(), 0);
}

TEST_F(DriveListTest, ADriveThatIsNotThereIsRefusedAndTheSelectionKept) {
  ASSERT_TRUE(list().SetDrive("c:"));
  changes.clear();
  EXPECT_FALSE(list().SetDrive("x:"));
  EXPECT_FALSE(list().SetDrive(""));
  EXPECT_FALSE(list().SetDrive("\\\\server\\share"));
  EXPECT_EQ(list().Drive(), "c: [SYSTEM]");
  EXPECT_TRUE(changes.empty());
}

TEST_F(DriveListTest, ChangeMaySelectAnotherDriveFromWithin) {
  auto selectC = [this] {
    changes.push_back(list().Drive());
    if (list().Drive() != "c: [SYSTEM]") list().SetDrive("c:");
    changes.push_back("end " + list().Drive());
  };
  list().Change = platform::EventHandler<>::Of(selectC);
  list().SetDrive("d:");
  EXPECT_EQ(changes, (std::vector<std::string>{"d: [PELMORA15]", "c: [SYSTEM]", "end c: [SYSTEM]",
                                               "end c: [SYSTEM]"}));
}

TEST_F(DriveListTest, APickSelectsItsEntryUnlessTheListIsDisabledOrHidden) {
  form->Show();
  list().SetEnabled(false);
  list().UserPick(EntryOf(list(), 'd'));
  EXPECT_TRUE(changes.empty());
  list().SetEnabled(true);
  list().UserPick(7);
  EXPECT_TRUE(changes.empty());
  list().UserPick(EntryOf(list(), 'd'));
  EXPECT_EQ(changes, (std::vector<std::string>{"d: [PELMORA15]"}));
  form->Hide();
  list().UserPick(EntryOf(list(), 'a'));
  EXPECT_EQ(list().Drive(), "d: [PELMORA15]");
}

}  // namespace
