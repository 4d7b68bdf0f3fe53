#pragma once
// The destination chooser as the wizard opens it, with drives and folders on the portable
// platform; what it hands back as it closes is recorded. Drive C is fixed, 1,234,567 KB free, its
// current folder the root; it holds C:\Program Files\Pelmora and C:\Games\Tools.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

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

  // What "Change Dir" does: the chooser opens on the wizard's destination.
  void Open(const std::string& destination) {
    handedBack.clear();
    platform::FixedText installDir;
    installDir = destination;
    chooser = std::make_unique<ui::Form3>(backend.platform, installDir);
    chooser->Closed = platform::EventHandler<>::Bind<&ChooserTest::RecordHandBack>(this);
    chooser->Show();
  }

  void RecordHandBack() { handedBack.push_back(chooser->Choice()); }

  void Pick(char letter) { chooser->Drive1.UserPick(EntryOf(chooser->Drive1, letter)); }
  void OpenEntry(const std::string& name) {
    chooser->Dir1.UserOpen(EntryNamed(chooser->Dir1, name));
  }
  const std::vector<platform::portable::ShownMessage>& Messages() const {
    return backend.toolkit.Messages();
  }
  // The chooser has closed and handed `folder` (or nothing) back, once.
  void ExpectHandedBack(const std::optional<std::string>& folder) const {
    EXPECT_FALSE(chooser->Loaded());
    EXPECT_EQ(handedBack, std::vector<std::optional<std::string>>{folder});
  }

  platform::portable::PortablePlatform backend;
  MappedDrives drives{backend.files};
  std::vector<std::optional<std::string>> handedBack;
  std::unique_ptr<ui::Form3> chooser;
};

}  // namespace ui_test
