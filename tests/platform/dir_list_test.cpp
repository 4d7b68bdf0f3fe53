// The folder list: the entries it shows, what it opens, and what it refuses.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/portable/portable_platform.h"
#include "tests/platform/list_form.h"
#include "tests/support/mapped_drives.h"

namespace platform {

void PrintTo(const DirEntry& entry, std::ostream* out) {
  *out << "{" << entry.name << ", " << entry.path << ", " << entry.level << "}";
}

}  // namespace platform

namespace {

using namespace platform;
using ui_test::EntryNamed;

class DirListTest : public ::testing::Test {
 protected:
  DirListTest() {
    drives.Add('c', DriveKind::kFixed, 1000, "SYSTEM");
    drives.MakeFolder("C:\\Games\\Tools");
    drives.MakeFolder("C:\\Games\\arcade");
    drives.MakeFolder("C:\\Windows");
    drives.MakeFile("C:\\Games\\readme.txt");
    form = std::make_unique<ui_test::ListForm>(backend.platform);
    form->Show();
  }
  DirList& list() { return form->Dir1; }

  portable::PortablePlatform backend;
  ui_test::MappedDrives drives{backend.files};
  std::unique_ptr<ui_test::ListForm> form;
};

TEST_F(DirListTest, TheOpenPathFromTheRootIsFollowedByItsSubfolders) {
  EXPECT_EQ(list().Path(), "");
  ASSERT_TRUE(list().SetPath("C:\\Games\\"));
  EXPECT_EQ(list().Path(), "C:\\Games");
  EXPECT_EQ(list().Entries(), (std::vector<DirEntry>{{"C:\\", "C:\\", 0},
                                                     {"Games", "C:\\Games", 1},
                                                     {"arcade", "C:\\Games\\arcade", 2},
                                                     {"Tools", "C:\\Games\\Tools", 2}}));
  EXPECT_EQ(list().ListIndex(), 1);

  ASSERT_TRUE(list().SetPath("C:\\"));
  EXPECT_EQ(list().Path(), "C:\\");
  EXPECT_EQ(list().Entries(),
            (std::vector<DirEntry>{
                {"C:\\", "C:\\", 0}, {"Games", "C:\\Games", 1}, {"Windows", "C:\\Windows", 1}}));
  EXPECT_EQ(list().ListIndex(), 0);
}

TEST_F(DirListTest, ADriveOrADriveListEntryOpensTheDrivesCurrentFolder) {
  backend.files.Drive('c').currentFolder = "\\Games";
  ASSERT_TRUE(list().SetPath("c:"));
  EXPECT_EQ(list().Path(), "C:\\Games");
  ASSERT_TRUE(list().SetPath("C:\\Windows"));
  ASSERT_TRUE(list().SetPath("c: [SYSTEM]"));
  EXPECT_EQ(list().Path(), "C:\\Games");
  ASSERT_TRUE(list().SetPath("c:\\windows"));
  EXPECT_EQ(list().Path(), "C:\\windows");
}

TEST_F(DirListTest, WhatCannotBeOpenedLeavesTheListAsItWas) {
  ASSERT_TRUE(list().SetPath("C:\\Games"));
  const auto entries = list().Entries();
  drives.Add('e', DriveKind::kRemovable).ready = false;
  for (const char* path : {"C:\\Gone", "C:\\Games\\readme.txt", "C:\\a|b", "e:", "x:\\",
                           "\\\\server\\share", "Games", ""}) {
    EXPECT_FALSE(list().SetPath(path)) << path;
  }
  EXPECT_EQ(list().Path(), "C:\\Games");
  EXPECT_EQ(list().Entries(), entries);
}

TEST_F(DirListTest, ADoubleClickOpensAParentOrASubfolder) {
  ASSERT_TRUE(list().SetPath("C:\\Games"));
  list().UserOpen(EntryNamed(list(), "Tools"));
  EXPECT_EQ(list().Path(), "C:\\Games\\Tools");
  list().UserOpen(0);
  EXPECT_EQ(list().Path(), "C:\\");
  list().SetEnabled(false);
  list().UserOpen(EntryNamed(list(), "Windows"));
  EXPECT_EQ(list().Path(), "C:\\");
}

TEST_F(DirListTest, AFolderGoneBeforeItIsOpenedIsReportedAndNotOpened) {
  std::vector<std::string> failed;
  auto recordFailure = [&](const std::string& path) { failed.push_back(path); };
  list().OpenFailed = platform::EventHandler<const std::string&>::Of(recordFailure);
  ASSERT_TRUE(list().SetPath("C:\\Games"));
  std::filesystem::remove_all(*backend.files.HostPath("C:\\Games\\Tools"));
  list().UserOpen(EntryNamed(list(), "Tools"));
  EXPECT_EQ(failed, (std::vector<std::string>{"C:\\Games\\Tools"}));
  EXPECT_EQ(list().Path(), "C:\\Games");
}

TEST_F(DirListTest, RefreshShowsFoldersMadeMeanwhile) {
  ASSERT_TRUE(list().SetPath("C:\\Windows"));
  drives.MakeFolder("C:\\Windows\\System");
  EXPECT_EQ(EntryNamed(list(), "System"), -1);
  list().Refresh();
  EXPECT_EQ(EntryNamed(list(), "System"), 2);
}

}  // namespace
