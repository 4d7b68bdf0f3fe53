#pragma once
// The destination chooser as the wizard opens it: a stand-in for the wizard with its
// destination label, the shared destination, and drives with folders on the portable
// platform. Drive C is fixed, 1,234,567 KB free, its current folder the root; it holds
// C:\Program Files\Pelmora and C:\Games\Tools.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/forms/form.h"
#include "platform/portable/portable_platform.h"
#include "platform/text/fixed_text.h"
#include "tests/platform/list_form.h"
#include "tests/support/mapped_drives.h"
#include "ui/form3.h"

namespace ui_test {

class ChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    drives.Add('c', platform::DriveKind::kFixed, 1234567);
    drives.MakeFolder("C:\\Program Files\\Pelmora");
    drives.MakeFolder("C:\\Games\\Tools");
  }

  // What "Change Dir" does: the wizard shows `destination` and hides, the chooser opens.
  void Open(const std::string& destination) {
    installDir = destination;
    label10.SetCaption(destination);
    wizard.Show();
    wizard.Hide();
    chooser = std::make_unique<ui::Form3>(backend.platform, installDir, label10, wizard);
    chooser->Show();
  }

  void Pick(char letter) { chooser->Drive1.UserPick(EntryOf(chooser->Drive1, letter)); }
  void OpenEntry(const std::string& name) {
    chooser->Dir1.UserOpen(EntryNamed(chooser->Dir1, name));
  }
  const std::vector<platform::portable::ShownMessage>& Messages() const {
    return backend.toolkit.Messages();
  }
  // The chooser has closed and handed over to the wizard.
  bool HandedBack() const { return !chooser->Loaded() && wizard.Visible(); }

  platform::portable::PortablePlatform backend;
  MappedDrives drives{backend.files};
  platform::Form wizard{backend.platform, "Form1", platform::FormDesign{"Wizard"}};
  platform::Label label10{wizard, "Label10", nullptr, platform::Bounds{180, 1200, 3795, 435}, 10};
  platform::FixedText installDir;
  std::unique_ptr<ui::Form3> chooser;
};

}  // namespace ui_test
