// Whom a box belongs to on the portable platform, as on the screen: the form shown on top,
// which is the latest shown, never the backdrop while another form is shown over it.
#include <gtest/gtest.h>

#include "platform/forms/form.h"
#include "platform/portable/portable_platform.h"

namespace {

class BoxOwnerTest : public ::testing::Test {
 protected:
  platform::FormDesign Design(platform::WindowRole role = platform::WindowRole::kNormal) {
    platform::FormDesign design;
    design.role = role;
    return design;
  }
  // Asks a question and tells whom its box belonged to.
  std::string OwnerOfABox() {
    backend.toolkit.MsgBox("?", platform::MsgBoxStyle::kYesNo, "Question");
    return backend.toolkit.Messages().back().owner;
  }

  platform::portable::PortablePlatform backend;
  platform::Form backdrop{backend.platform, "Backdrop", Design(platform::WindowRole::kBackdrop)};
  platform::Form wizard{backend.platform, "Wizard", Design()};
  platform::Form chooser{backend.platform, "Chooser", Design()};
};

TEST_F(BoxOwnerTest, TheFormShownOnTopOwnsTheBoxAndAHiddenOneNever) {
  EXPECT_EQ(OwnerOfABox(), "");
  backdrop.Show();
  EXPECT_EQ(OwnerOfABox(), "Backdrop");
  wizard.Show();
  backdrop.SetFocus();  // the backdrop stays under the forms it owns
  EXPECT_EQ(OwnerOfABox(), "Wizard");

  wizard.Hide();
  EXPECT_EQ(OwnerOfABox(), "Backdrop");
  chooser.Show();
  EXPECT_EQ(OwnerOfABox(), "Chooser");
  wizard.Show();
  EXPECT_EQ(OwnerOfABox(), "Wizard");
  wizard.Unload();
  EXPECT_EQ(OwnerOfABox(), "Chooser");

  backend.toolkit.InputBox("Name?", "Input", "");
  EXPECT_EQ(backend.toolkit.InputBoxes().back().owner, "Chooser");
}

}  // namespace
