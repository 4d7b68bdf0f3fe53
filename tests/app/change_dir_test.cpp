// "Change Dir" on page 3: the chooser takes the wizard's place and hands a folder back.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/wizard_harness.h"
#include "ui/form3.h"

namespace app_test {
namespace {

class ChangeDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.WriteSetupFile();
    h.MakeFolder("D:\\Games");
    h.Start();
    h.GoToDestinationPage();
    h.Click(h.Wizard().Command4);
    ASSERT_NE(h.Wizard().Chooser(), nullptr);
  }
  ui::Form3& Chooser() { return *h.Wizard().Chooser(); }
  WizardHarness h;
};

TEST_F(ChangeDirTest, TheChooserReplacesTheWizardAndHandsTheFolderBack) {
  EXPECT_FALSE(h.Wizard().Visible());
  EXPECT_TRUE(Chooser().Visible());
  // The user picks drive D, then opens its folder Games.
  const auto& drives = Chooser().Drive1.Entries();
  const auto d = std::find_if(drives.begin(), drives.end(),
                              [](const std::string& e) { return e.rfind("d:", 0) == 0; });
  ASSERT_NE(d, drives.end());
  h.Act([&] { Chooser().Drive1.UserPick(static_cast<int>(d - drives.begin())); });
  const auto& folders = Chooser().Dir1.Entries();
  const auto games = std::find_if(folders.begin(), folders.end(),
                                  [](const platform::DirEntry& e) { return e.name == "Games"; });
  ASSERT_NE(games, folders.end());
  h.Act([&] { Chooser().Dir1.UserOpen(static_cast<int>(games - folders.begin())); });
  EXPECT_EQ(Chooser().Dir1.Path(), "D:\\Games");
  h.toolkit.AnswerInputBox("  Pelmora  ");
  h.Click(Chooser().Command1);
  // The input box belongs to the chooser, which stands in the hidden wizard's place.
  ASSERT_EQ(h.toolkit.InputBoxes().size(), 1u);
  EXPECT_EQ(h.toolkit.InputBoxes()[0].owner, "Form3");
  h.Click(Chooser().Command2);
  EXPECT_FALSE(Chooser().Loaded());
  EXPECT_TRUE(h.Wizard().Visible());
  EXPECT_EQ(h.ShownPage(), 3);
  EXPECT_EQ(h.Wizard().Label10.Caption(), "D:\\Games\\Pelmora");
  EXPECT_EQ(h.State().InstallDir.Trimmed(), "D:\\Games\\Pelmora");

  h.Click(h.Wizard().Command2);
  EXPECT_EQ(h.Wizard().Command2.Caption(), "Finish");
  EXPECT_TRUE(h.PathExists("D:\\Games\\Pelmora\\Pelmora.exe"));
}

// The default destination does not exist yet, so the chooser starts at the root of drive C.
TEST_F(ChangeDirTest, TheCloseBoxAndOkOnADriveRootBringTheWizardBackUnchanged) {
  ASSERT_EQ(Chooser().Dir1.Path(), "C:\\");
  h.Act([&] { Chooser().UserClose(); });
  EXPECT_TRUE(h.Wizard().Visible());
  EXPECT_EQ(h.Wizard().Label10.Caption(), "C:\\Program Files\\Pelmora");
  EXPECT_EQ(h.State().InstallDir.Trimmed(), "C:\\Program Files\\Pelmora");

  // It opens afresh the next time.
  h.Click(h.Wizard().Command4);
  EXPECT_TRUE(Chooser().Visible());
  EXPECT_FALSE(h.Wizard().Visible());
  h.Click(Chooser().Command2);
  EXPECT_FALSE(Chooser().Loaded());
  EXPECT_TRUE(h.Wizard().Visible());
  EXPECT_EQ(h.Wizard().Label10.Caption(), "C:\\Program Files\\Pelmora");
  EXPECT_EQ(h.State().InstallDir.Trimmed(), "C:\\Program Files\\Pelmora");
}

}  // namespace
}  // namespace app_test
