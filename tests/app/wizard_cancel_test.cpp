// Leaving the wizard before the run has completed: the question, and the clean-up on Yes.
#include <gtest/gtest.h>

#include "tests/app/wizard_harness.h"

namespace app_test {
namespace {

constexpr int kQuestionStyle = 4388;

class WizardCancelTest : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    // A folder of the name that the run's folder once had, which another program may have
    // laid there: the setup never takes it over, nor removes what it holds.
    h.MakeFolder("C:\\Temp\\PLMTMP");
    h.WriteFile("C:\\Temp\\PLMTMP\\Stop.wa_", "left over");
    h.Start();
    GoToPage(GetParam());
  }

  void GoToPage(int page) {
    if (page >= 2) h.Click(h.Wizard().Command2);
    if (page >= 3) {
      h.Click(h.Wizard().Option1);
      h.Click(h.Wizard().Command2);
    }
    ASSERT_EQ(h.ShownPage(), page);
  }

  void ExpectTheQuestion() {
    ASSERT_EQ(h.toolkit.Messages().size(), 1u);
    EXPECT_EQ(h.toolkit.Messages()[0].text, "Do you want to cancel the installation?");
    EXPECT_EQ(h.toolkit.Messages()[0].title, "Pelmora");
    EXPECT_EQ(h.toolkit.Messages()[0].style, kQuestionStyle);
    // The wizard waits for it, in front of the backdrop.
    EXPECT_EQ(h.toolkit.Messages()[0].owner, "Form1");
  }

  WizardHarness h;
};

// Before the run there is no folder of the run's: the clean-up removes nothing.
TEST_P(WizardCancelTest, YesEndsTheProgramAndRemovesNothingItDidNotMake) {
  h.toolkit.AnswerMessageBox(platform::kYes);
  h.Click(h.Wizard().Command3);
  ExpectTheQuestion();
  EXPECT_TRUE(h.Ended());
  EXPECT_TRUE(h.PathExists("C:\\Temp\\PLMTMP\\Stop.wa_"));
  EXPECT_TRUE(h.RunFolders().empty());
  EXPECT_TRUE(h.toolkit.StartedPrograms().empty());
}

TEST_P(WizardCancelTest, NoKeepsThePageAsItWas) {
  const bool backEnabled = h.Wizard().Command1.Enabled();
  const bool nextEnabled = h.Wizard().Command2.Enabled();
  const bool agreed = h.Wizard().Option1.Value();
  h.toolkit.AnswerMessageBox(platform::kNo);
  h.Click(h.Wizard().Command3);
  ExpectTheQuestion();
  EXPECT_FALSE(h.Ended());
  EXPECT_TRUE(h.Wizard().Visible());
  EXPECT_EQ(h.ShownPage(), GetParam());
  EXPECT_EQ(h.Wizard().Command1.Enabled(), backEnabled);
  EXPECT_EQ(h.Wizard().Command2.Enabled(), nextEnabled);
  EXPECT_EQ(h.Wizard().Option1.Value(), agreed);
  EXPECT_TRUE(h.PathExists("C:\\Temp\\PLMTMP\\Stop.wa_"));
}

TEST_P(WizardCancelTest, TheCloseBoxAsksTheSameAndEnterAnswersNo) {
  h.CloseWizard();  // no scripted answer: the default button
  ExpectTheQuestion();
  EXPECT_EQ(h.toolkit.Messages()[0].answer, platform::kNo);
  EXPECT_FALSE(h.Ended());
  h.toolkit.AnswerMessageBox(platform::kYes);
  h.CloseWizard();
  EXPECT_TRUE(h.Ended());
}

INSTANTIATE_TEST_SUITE_P(OnEachPage, WizardCancelTest, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace app_test
