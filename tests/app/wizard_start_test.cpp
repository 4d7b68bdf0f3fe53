// Start-up: the backdrop and the wizard are shown, the temporary folder is known, and the
// destination comes from an earlier installation or is the default one.
#include <gtest/gtest.h>

#include "tests/app/wizard_harness.h"

namespace app_test {
namespace {

using platform::kHKeyLocalMachine;

constexpr char kDefault[] = "C:\\Program Files\\Pelmora";
constexpr char kProductKey[] = "Software\\Quorvalen\\PLM";

class WizardStartTest : public ::testing::Test {
 protected:
  std::string StartAndReadDestination() {
    h.Start();
    EXPECT_EQ(h.Wizard().Label10.Caption(), h.State().InstallDir.Trimmed());
    return h.State().InstallDir.Trimmed();
  }
  WizardHarness h;
};

TEST_F(WizardStartTest, OpensOnPageOneInFrontOfTheBackdrop) {
  h.Start();
  EXPECT_TRUE(h.Program().Backdrop().Visible());
  EXPECT_TRUE(h.Wizard().Visible());
  EXPECT_EQ(h.Wizard().Caption(), "Tarvo's Pelmora - Install");
  EXPECT_EQ(h.State().CurrentPage, 1);
  EXPECT_EQ(h.ShownPage(), 1);
  EXPECT_FALSE(h.Wizard().Command1.Enabled());
  EXPECT_TRUE(h.Wizard().Command2.Enabled());
  EXPECT_TRUE(h.Wizard().Command3.Enabled());
  EXPECT_FALSE(h.Wizard().Check1.Visible());
  EXPECT_TRUE(h.Wizard().Image1.ShowsIcon());
  EXPECT_TRUE(h.toolkit.Messages().empty());
}

TEST_F(WizardStartTest, TheAgreementIsFourteenLinesOfFourHundredSeventyTwoCharacters) {
  h.Start();
  const std::string& text = h.Wizard().Text1.Text();
  EXPECT_EQ(text.size(), 472u);
  EXPECT_EQ(text.substr(0, 39), "THIS PROGRAM IS PROVIDED TO YOU FREE \r\n");
  EXPECT_NE(text.find("ON AN \"AS IS\" BASIS, \r\n"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 16), "MODIFICATIONS.\r\n");
}

TEST_F(WizardStartTest, TheTemporaryFolderLosesItsTrailingBackslash) {
  h.files.SetTempPath("C:\\TEMP\\");
  h.Start();
  EXPECT_EQ(h.State().TempDir.Trimmed(), "C:\\TEMP");
}

TEST_F(WizardStartTest, ALongTemporaryPathIsKeptWhole) {
  const std::string longPath = "C:\\" + std::string(150, 'T') + "\\" + std::string(60, 'u') + "\\";
  h.files.SetTempPath(longPath);
  h.Start();
  EXPECT_EQ(h.State().TempDir.Trimmed(), longPath.substr(0, longPath.size() - 1));
}

TEST_F(WizardStartTest, WithoutAnEarlierInstallationTheDefaultDestinationIsProposed) {
  EXPECT_EQ(StartAndReadDestination(), kDefault);
}

TEST_F(WizardStartTest, AVendorKeyWithoutProductOrWithALowerCaseOneGivesTheDefault) {
  h.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\Other");
  h.registry.PutString(kHKeyLocalMachine, "Software\\Quorvalen\\plm", "Dizin", "D:\\Tools");
  h.MakeFolder("D:\\Tools");
  EXPECT_EQ(StartAndReadDestination(), kDefault);
}

TEST_F(WizardStartTest, AnEarlierDestinationThatStillExistsIsProposed) {
  h.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", "D:\\Tools\\Pelmora");
  h.MakeFolder("D:\\Tools\\Pelmora");
  EXPECT_EQ(StartAndReadDestination(), "D:\\Tools\\Pelmora");
}

TEST_F(WizardStartTest, TheProductIsFoundAmongMoreThanTwoHundredFiftySixVendorSubkeys) {
  for (int i = 0; i < 300; ++i)
    h.registry.PutKey(kHKeyLocalMachine, "Software\\Quorvalen\\A" + std::to_string(1000 + i));
  h.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", "D:\\Tools\\Pelmora");
  h.MakeFolder("D:\\Tools\\Pelmora");
  EXPECT_EQ(StartAndReadDestination(), "D:\\Tools\\Pelmora");
}

TEST_F(WizardStartTest, AGoneOrMissingOrUnreadableEarlierDestinationGivesTheDefault) {
  h.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", "D:\\Gone");
  EXPECT_EQ(StartAndReadDestination(), kDefault);
}

TEST_F(WizardStartTest, AProductKeyWithoutDizinGivesTheDefault) {
  h.registry.PutKey(kHKeyLocalMachine, kProductKey);
  EXPECT_EQ(StartAndReadDestination(), kDefault);
}

TEST_F(WizardStartTest, ABlankDizinOrADriveRootGivesTheDefault) {
  for (const char* earlier : {"   ", "D:\\", "d:", "C:\\"}) {
    SCOPED_TRACE(earlier);
    WizardHarness machine;
    machine.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", earlier);
    machine.Start();
    EXPECT_EQ(machine.State().InstallDir.Trimmed(), kDefault);
  }
}

// Two setups at once would share the temporary folder and the destination.
TEST_F(WizardStartTest, ASecondCopySaysThatASetupIsRunningAndEnds) {
  h.toolkit.HoldInstanceElsewhere("Pelmora Setup");
  h.Start();
  EXPECT_TRUE(h.Ended());
  ASSERT_EQ(h.toolkit.Messages().size(), 1u);
  EXPECT_EQ(h.toolkit.Messages()[0].text, "The setup of Pelmora is already running.");
  EXPECT_EQ(h.toolkit.Messages()[0].title, "Pelmora");
  EXPECT_EQ(h.toolkit.Messages()[0].owner, "");  // no form of its own is shown yet
  EXPECT_FALSE(h.Program().Backdrop().Visible());
  EXPECT_FALSE(h.Wizard().Visible());
}

}  // namespace
}  // namespace app_test
