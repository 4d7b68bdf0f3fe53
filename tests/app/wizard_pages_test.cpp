// The page rules of the wizard: Back and Next, the agreement, and the destination check
// on the way to the installation page.
#include <gtest/gtest.h>

#include "tests/app/wizard_harness.h"

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
  EXPECT_FALSE(h.PathExists("C:\\Temp\\PLMTMP"));
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

}  // namespace
}  // namespace app_test
