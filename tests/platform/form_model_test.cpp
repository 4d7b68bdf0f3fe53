// The rules of the form model that every backend relies on: option groups, what a user
// can act on, refused unloads, and a platform failure ending the program.
#include <gtest/gtest.h>

#include "platform/forms/form.h"
#include "platform/portable/portable_platform.h"

namespace {

using platform::Bounds;
using Handler = platform::EventHandler<>;
using platform::portable::ProgramEnded;

class TestForm : public platform::Form {
 public:
  explicit TestForm(platform::Platform& platform)
      : Form(platform, "TestForm",
             platform::FormDesign{"Test", platform::BorderStyle::kFixedSingle, 3000, 2000}),
        Page(*this, "Page", nullptr, Bounds{0, 0, 3000, 1500}, 0),
        Yes(*this, "Yes", &Page, Bounds{}, 1, "Yes"),
        No(*this, "No", &Page, Bounds{}, 2, "No"),
        Other(*this, "Other", nullptr, Bounds{}, 3, "Other"),
        Go(*this, "Go", nullptr, Bounds{}, 4, "Go") {}

  platform::Frame Page;
  platform::OptionButton Yes;
  platform::OptionButton No;
  platform::OptionButton Other;  // in another container: a group of its own
  platform::CommandButton Go;

  int loads = 0;
  std::int16_t refuseQuery = 0;
  std::int16_t refuseUnload = 0;
  std::vector<platform::UnloadMode> queries;

 protected:
  void Form_Load() override { ++loads; }
  void Form_QueryUnload(std::int16_t& cancel, platform::UnloadMode mode) override {
    queries.push_back(mode);
    cancel = refuseQuery;
  }
  void Form_Unload(std::int16_t& cancel) override { cancel = refuseUnload; }
};

class FormModelTest : public ::testing::Test {
 protected:
  platform::portable::PortablePlatform backend;
  TestForm form{backend.platform};
};

TEST_F(FormModelTest, ShowLoadsOnceAndUnloadRunsBothHandlersUnlessOneRefuses) {
  form.Show();
  form.Hide();
  form.Show();
  EXPECT_EQ(form.loads, 1);

  form.refuseQuery = -1;
  EXPECT_FALSE(form.Unload());
  form.refuseQuery = 0;
  form.refuseUnload = -1;
  EXPECT_FALSE(form.Unload());
  EXPECT_TRUE(form.Loaded());
  EXPECT_TRUE(form.Visible());

  form.refuseUnload = 0;
  form.UserClose();
  EXPECT_FALSE(form.Loaded());
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.queries.back(), platform::UnloadMode::kFormControlMenu);
  EXPECT_EQ(form.queries.front(), platform::UnloadMode::kFormCode);
}

TEST_F(FormModelTest, TheSessionEndingUnloadsWithItsReasonUnlessTheFormRefuses) {
  form.Show();
  form.refuseQuery = -1;
  EXPECT_FALSE(form.SessionEnding());
  EXPECT_TRUE(form.Loaded());
  form.refuseQuery = 0;
  EXPECT_TRUE(form.SessionEnding());
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.queries, std::vector<platform::UnloadMode>(2, platform::UnloadMode::kAppWindows));
}

TEST_F(FormModelTest, ChoosingAnOptionClearsTheOthersOfItsContainerOnly) {
  int clicks = 0;
  auto countClick = [&] { ++clicks; };
  form.No.Click = Handler::Of(countClick);
  form.Show();
  form.Yes.UserClick();
  form.Other.UserClick();
  form.No.UserClick();
  EXPECT_FALSE(form.Yes.Value());
  EXPECT_TRUE(form.No.Value());
  EXPECT_TRUE(form.Other.Value());
  EXPECT_EQ(clicks, 1);
  form.No.SetValue(false);
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormModelTest, AUserCannotActOnWhatIsDisabledHiddenOrOnAHiddenForm) {
  int clicks = 0;
  auto countClick = [&] { ++clicks; };
  form.Go.Click = Handler::Of(countClick);
  form.Go.UserClick();  // the form is not shown yet
  form.Show();
  form.Go.SetEnabled(false);
  form.Go.UserClick();
  form.Go.SetEnabled(true);
  form.Go.SetVisible(false);
  form.Go.UserClick();
  form.Go.SetVisible(true);
  form.Page.SetVisible(false);
  form.Yes.UserClick();
  EXPECT_FALSE(form.Yes.Value());
  EXPECT_EQ(clicks, 0);
  form.Go.UserClick();
  EXPECT_EQ(clicks, 1);
}

// The clean-up runs once, after the report, even when it fails itself.
TEST_F(FormModelTest, APlatformFailureInAHandlerShowsTheReportRunsTheCleanUpAndEndsTheProgram) {
  struct CleanUpLog {
    platform::portable::PortableToolkit& toolkit;
    std::size_t reportsSeen = 0;
    int runs = 0;
  } log{backend.toolkit};
  backend.toolkit.SetFailureCleanUp({[](void* context) {
                                       auto& cleanUp = *static_cast<CleanUpLog*>(context);
                                       cleanUp.reportsSeen = cleanUp.toolkit.ErrorReports().size();
                                       ++cleanUp.runs;
                                       cleanUp.toolkit.Fail("the temporary folder is locked");
                                     },
                                     &log});
  bool after = false;
  auto fail = [&] {
    backend.toolkit.Fail("Program Manager is gone");
    after = true;
  };
  form.Go.Click = Handler::Of(fail);
  form.Show();
  EXPECT_THROW(form.Go.UserClick(), ProgramEnded);
  EXPECT_FALSE(after);
  EXPECT_TRUE(backend.toolkit.Ended());
  EXPECT_EQ(log.runs, 1);
  EXPECT_EQ(log.reportsSeen, 1u);
  EXPECT_EQ(
      backend.toolkit.ErrorReports(),
      (std::vector<std::string>{"Program Manager is gone", "the temporary folder is locked"}));
}

TEST_F(FormModelTest, EndingTheProgramInsideANestedEventStopsTheOuterHandlerToo) {
  bool outerFinished = false;
  auto endProgram = [&] { backend.toolkit.EndProgram(); };
  form.Other.Click = Handler::Of(endProgram);
  auto pumpEvents = [&] {
    backend.toolkit.DoEvents();
    outerFinished = true;
  };
  form.Go.Click = Handler::Of(pumpEvents);
  form.Show();
  backend.toolkit.AtEventPump(1, [&] { form.Other.UserClick(); });
  EXPECT_THROW(form.Go.UserClick(), ProgramEnded);
  EXPECT_FALSE(outerFinished);
}

}  // namespace
