// The page rules of the wizard: Back and Next, the agreement, and the destination check
// on the way to the installation page.
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "setup_file/layout.h"
#include "tests/app/wizard_harness.h"
#include "ui/free_space.h"

namespace app_test {
namespace {

constexpr int kExclamation = 48;

class WizardPagesTest : public ::testing::Test {
 protected:
  void SetUp() override { h.Start(); }
  app::Form1& w() { return h.Wizard(); }
  WizardHarness h;
};

TEST_F(WizardPagesTest, NextFromPageOneShowsTheAgreementWithBothOptionsClearAndNextDisabled) {
  h.Click(w().Command2);
  EXPECT_EQ(h.ShownPage(), 2);
  EXPECT_EQ(h.State().CurrentPage, 2);
  EXPECT_TRUE(w().Command1.Enabled());
  EXPECT_FALSE(w().Command2.Enabled());
  EXPECT_FALSE(w().Option1.Value());
  EXPECT_FALSE(w().Option2.Value());
}

TEST_F(WizardPagesTest, AgreeingEnablesNextAndDisagreeingDisablesItAgain) {
  h.Click(w().Command2);
  h.Click(w().Option1);
  EXPECT_TRUE(w().Command2.Enabled());
  h.Click(w().Option2);
  EXPECT_FALSE(w().Command2.Enabled());
  EXPECT_FALSE(w().Option1.Value());
  h.Click(w().Option1);
  h.Click(w().Command2);
  EXPECT_EQ(h.ShownPage(), 3);
  EXPECT_TRUE(w().Command1.Enabled());
  EXPECT_TRUE(w().Command2.Enabled());
  EXPECT_EQ(w().Label10.Caption(), "C:\\Program Files\\Pelmora");
}

TEST_F(WizardPagesTest, BackFromPageTwoDisablesBackAndKeepsNextEnabled) {
  h.Click(w().Command2);
  h.Click(w().Command1);
  EXPECT_EQ(h.ShownPage(), 1);
  EXPECT_EQ(h.State().CurrentPage, 1);
  EXPECT_FALSE(w().Command1.Enabled());
  EXPECT_TRUE(w().Command2.Enabled());
}

TEST_F(WizardPagesTest, BackFromPageThreeClearsTheAgreement) {
  h.GoToDestinationPage();
  h.Click(w().Command1);
  EXPECT_EQ(h.ShownPage(), 2);
  EXPECT_FALSE(w().Option1.Value());
  EXPECT_FALSE(w().Command2.Enabled());
  EXPECT_TRUE(w().Command1.Enabled());
}

TEST_F(WizardPagesTest, AMissingDestinationIsReportedAndPageThreeStays) {
  h.State().InstallDir = "D:\\Gone";
  h.GoToDestinationPage();
  h.Click(w().Command2);
  ASSERT_EQ(h.toolkit.Messages().size(), 1u);
  EXPECT_EQ(h.toolkit.Messages()[0].text, "D:\\Gone could not be found!");
  EXPECT_EQ(h.toolkit.Messages()[0].title, "Error");
  EXPECT_EQ(h.toolkit.Messages()[0].style, kExclamation);
  EXPECT_EQ(h.ShownPage(), 3);
  EXPECT_EQ(h.State().CurrentPage, 3);
  EXPECT_TRUE(w().Command1.Enabled());
  EXPECT_TRUE(w().Command2.Enabled());
  EXPECT_FALSE(h.PathExists("D:\\Gone"));
  EXPECT_TRUE(h.RunFolders().empty());
}

TEST_F(WizardPagesTest, ADefaultDestinationSpelledInOtherLettersIsNotCreated) {
  h.State().InstallDir = "c:\\program files\\pelmora";
  h.GoToDestinationPage();
  h.Click(w().Command2);
  ASSERT_EQ(h.toolkit.Messages().size(), 1u);
  EXPECT_EQ(h.toolkit.Messages()[0].text, "c:\\program files\\pelmora could not be found!");
  EXPECT_FALSE(h.PathExists("C:\\Program Files"));
}

TEST_F(WizardPagesTest, ADefaultDestinationThatCannotBeCreatedIsReportedAndPageThreeStays) {
  h.backend.faults.Fail("MkDir", platform::SystemError::kAccessDenied, 2);
  h.GoToDestinationPage();
  h.Click(w().Command2);
  ASSERT_EQ(h.toolkit.Messages().size(), 1u);
  EXPECT_EQ(h.toolkit.Messages()[0].text, "C:\\Program Files\\Pelmora could not be created!");
  EXPECT_EQ(h.toolkit.Messages()[0].title, "Error");
  EXPECT_EQ(h.toolkit.Messages()[0].style, kExclamation);
  EXPECT_EQ(h.ShownPage(), 3);
  EXPECT_TRUE(h.PathExists("C:\\Program Files"));
  EXPECT_FALSE(h.Ended());
  EXPECT_TRUE(w().Command2.Enabled());
}

// The longest path in the destination is the uninstaller's new file beside it, with a spare
// digit when a file that an interrupted run left holds its first name: 24 characters after the
// destination, of the system's 259. A destination of 235 characters installs whole even then;
// one character more is refused before anything is made, where the run would fail halfway.
TEST_F(WizardPagesTest, ADestinationTooLongForTheFilesInItIsRefusedBeforeAnythingIsMade) {
  const std::string longest = "D:\\" + std::string(120, 'p') + "\\" + std::string(111, 'q');
  ASSERT_EQ(longest.size(), 235u);
  for (const std::string& destination : {longest, longest + "r"}) {
    SCOPED_TRACE(destination.size());
    WizardHarness machine;
    machine.WriteSetupFile();
    machine.MakeFolder(destination);
    const std::string leftover = destination + "\\Uninstall PLM.exe.new_";
    machine.WriteFile(leftover, "left by an interrupted run");
    machine.Start();
    machine.State().InstallDir = destination;
    machine.GoToDestinationPage();
    machine.Click(machine.Wizard().Command2);
    if (destination == longest) {
      EXPECT_EQ(machine.Wizard().Label11.Caption(),
                "Installation of Pelmora has been successfully completed! You can run PLM from "
                "the Start Menu.");
      EXPECT_TRUE(machine.toolkit.Messages().empty());
      continue;
    }
    ASSERT_EQ(machine.toolkit.Messages().size(), 1u);
    EXPECT_EQ(machine.toolkit.Messages()[0].text,
              "The destination can have at most 235 characters.");
    EXPECT_EQ(machine.toolkit.Messages()[0].title, "Warning");
    EXPECT_EQ(machine.toolkit.Messages()[0].style, kExclamation);
    EXPECT_EQ(machine.ShownPage(), 3);
    EXPECT_TRUE(machine.Wizard().Command2.Enabled());
    EXPECT_TRUE(machine.RunFolders().empty());
    const std::filesystem::directory_iterator folder(machine.Host(destination));
    EXPECT_EQ(std::distance(folder, std::filesystem::directory_iterator()), 1)
        << "only the leftover";
    EXPECT_FALSE(machine.registry.KeyExists(platform::kHKeyLocalMachine, "Software\\Quorvalen"));
  }
}

// Into an empty folder, the run needs room for every expanded file in whole clusters, and for
// the extracted items when the temporary folder is on the same drive.
TEST_F(WizardPagesTest, TooLittleFreeSpaceIsReportedAndPageThreeStays) {
  std::uint64_t expanded = 0, items = 0;
  for (const setup_file::ItemRecord& item : setup_file::kItemTable) {
    expanded += (item.expandedLength + 4095) / 4096 * 4096;
    items += (static_cast<std::uint64_t>(item.size) + 4095) / 4096 * 4096;
  }
  struct Case {
    std::string drive;
    std::uint64_t freeBytes;
    bool refused;
  };
  for (const Case& space :
       {Case{"C", expanded + items - 4096, true}, Case{"C", expanded + items, false},
        Case{"D", expanded - 4096, true}, Case{"D", expanded, false}}) {
    SCOPED_TRACE(space.drive + ": " + std::to_string(space.freeBytes) + " bytes free");
    WizardHarness machine;
    machine.Start();
    const std::string destination = space.drive + ":\\Pelmora";
    machine.MakeFolder(destination);
    machine.State().InstallDir = destination;
    machine.files.Drive(space.drive[0]).space = {
        8, 512, static_cast<std::uint32_t>(space.freeBytes / 4096), 1u << 20};
    machine.WriteSetupFile();
    machine.GoToDestinationPage();
    machine.Click(machine.Wizard().Command2);
    EXPECT_EQ(machine.ShownPage(), space.refused ? 3 : 4);
    if (space.refused) {
      ASSERT_EQ(machine.toolkit.Messages().size(), 1u);
      const std::uint64_t needed = space.drive == "C" ? expanded + items : expanded;
      EXPECT_EQ(machine.toolkit.Messages()[0].text,
                "There is not enough free space on drive " + space.drive +
                    ": to install Pelmora.\rIt needs " +
                    ui::GroupThousands(static_cast<std::int32_t>(needed / 1024), ",") + " KB; " +
                    ui::GroupThousands(static_cast<std::int32_t>(space.freeBytes / 1024), ",") +
                    " KB are free.");
      EXPECT_EQ(machine.toolkit.Messages()[0].title, "Warning");
    }
  }
}

}  // namespace
}  // namespace app_test
