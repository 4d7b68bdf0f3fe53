// The program group: Program Manager's where it answers, else a folder of shell links that
// the setup makes in the Programs folder of every user's Start menu.
#include "integration/program_group.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/portable/portable_platform.h"
#include "product/pelmora.h"
#include "tests/support/mapped_drives.h"

namespace {

namespace fs = std::filesystem;

constexpr char kDestination[] = "D:\\Tools\\Pelmora";
constexpr char kPrograms[] = "C:\\ProgramData\\Start Menu\\Programs";
constexpr char kGroup[] = "C:\\ProgramData\\Start Menu\\Programs\\Pelmora";
const std::vector<std::string> kEveryCaption = {"Tarvo's Pelmora", "Pelmora Help",
                                                "Uninstall Pelmora"};

std::string Contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class ProgramGroupTest : public ::testing::Test {
 protected:
  ProgramGroupTest() {
    drives.Add('C');
    drives.Add('D');
    drives.MakeFolder(kPrograms);
    drives.MakeFolder(kDestination);
    for (const char* file :
         {product::kApplicationFile, product::kHelpFile, product::kUninstallerFile})
      drives.MakeFile(std::string(kDestination) + "\\" + file);
  }

  std::vector<std::string> Create(integration::InstalledExtras installed = {true, true}) {
    platform::DdeLink link(backend.programManager);
    return integration::CreateProgramGroup(link, backend.files, kDestination, installed);
  }

  fs::path Host(const std::string& path) { return *backend.files.HostPath(path); }
  fs::path LinkFile(const std::string& caption) {
    return Host(std::string(kGroup) + "\\" + caption + ".lnk");
  }
  // The captions of the links in the group's folder, each checked for the file it starts.
  std::vector<std::string> OwnLinks() {
    std::vector<std::string> captions;
    const std::pair<const char*, const char*> items[] = {
        {"Tarvo's Pelmora", product::kApplicationFile},
        {"Pelmora Help", product::kHelpFile},
        {"Uninstall Pelmora", product::kUninstallerFile}};
    for (const auto& [caption, file] : items) {
      if (!fs::exists(LinkFile(caption))) continue;
      EXPECT_EQ(Contents(LinkFile(caption)), std::string(kDestination) + "\\" + file) << caption;
      captions.emplace_back(caption);
    }
    return captions;
  }

  platform::portable::PortablePlatform backend;
  ui_test::MappedDrives drives{backend.files};
};

TEST_F(ProgramGroupTest, ProgramManagerMakesTheGroupWhereItAnswers) {
  EXPECT_TRUE(Create().empty());
  ASSERT_EQ(backend.programManager.Groups().count("Pelmora"), 1u);
  EXPECT_EQ(backend.programManager.Groups().at("Pelmora").size(), 3u);
  EXPECT_FALSE(fs::exists(Host(kGroup)));
}

TEST_F(ProgramGroupTest, WithoutProgramManagerTheSetupMakesTheGroupAsAFolderOfLinks) {
  backend.programManager.SetPresent(false);
  backend.SetElevated(true);
  EXPECT_TRUE(Create().empty());
  EXPECT_EQ(OwnLinks(), kEveryCaption);
  EXPECT_EQ(backend.files.AccessOf(kGroup), platform::portable::FolderAccess::kProgramFiles);
  EXPECT_TRUE(backend.programManager.Groups().empty());
}

TEST_F(ProgramGroupTest, AConversationThatCannotBeOpenedCountsAsNoProgramManager) {
  backend.faults.Fail("Connect", 1);
  EXPECT_TRUE(Create().empty());
  EXPECT_EQ(OwnLinks(), kEveryCaption);
}

TEST_F(ProgramGroupTest, TheOwnGroupHoldsTheOptionalItemsOnlyWhenTheirFilesAreThere) {
  backend.programManager.SetPresent(false);
  fs::remove(Host(std::string(kDestination) + "\\" + product::kHelpFile));
  EXPECT_TRUE(Create({.help = false, .uninstaller = false}).empty());
  EXPECT_EQ(OwnLinks(), (std::vector<std::string>{"Tarvo's Pelmora", "Uninstall Pelmora"}));
}

TEST_F(ProgramGroupTest, AnEarlierOwnGroupIsMadeAgainOverItsLinks) {
  backend.programManager.SetPresent(false);
  drives.MakeFolder(kGroup);
  std::ofstream(LinkFile("Tarvo's Pelmora")) << "C:\\Elsewhere\\Pelmora.exe";
  EXPECT_TRUE(Create().empty());
  EXPECT_EQ(OwnLinks(), kEveryCaption);
}

// Whatever cannot be made is missing, and the rest of the group is still made.
TEST_F(ProgramGroupTest, WhatTheOwnGroupCannotHoldIsMissing) {
  backend.programManager.SetPresent(false);
  backend.faults.Fail("MakeShellLink", 1, 2);
  EXPECT_EQ(Create(), std::vector<std::string>{"Pelmora Help"});
  EXPECT_EQ(OwnLinks(), (std::vector<std::string>{"Tarvo's Pelmora", "Uninstall Pelmora"}));

  fs::remove_all(Host(kGroup));
  backend.faults.Fail("MkDir", platform::SystemError::kAccessDenied);
  EXPECT_EQ(Create(), kEveryCaption);

  std::ofstream(Host(kGroup)) << "a file where the folder belongs";
  EXPECT_EQ(Create(), kEveryCaption);
  fs::remove(Host(kGroup));

  backend.files.SetCommonProgramsFolder("");
  EXPECT_EQ(Create(), kEveryCaption);
  EXPECT_FALSE(fs::exists(Host(kGroup)));
}

// The Start menu is written with administrator's rights: a link in the place of the group's
// folder or of one of its links is never followed.
TEST_F(ProgramGroupTest, TheOwnGroupFollowsNoLink) {
  backend.programManager.SetPresent(false);
  drives.MakeFolder("C:\\Elsewhere");
  fs::create_directory_symlink(Host("C:\\Elsewhere"), Host(kGroup));
  EXPECT_EQ(Create(), kEveryCaption);
  EXPECT_TRUE(fs::is_empty(Host("C:\\Elsewhere")));

  fs::remove(Host(kGroup));
  drives.MakeFolder(kGroup);
  std::ofstream(Host("C:\\Elsewhere\\victim.txt")) << "kept";
  fs::create_symlink(Host("C:\\Elsewhere\\victim.txt"), LinkFile("Pelmora Help"));
  EXPECT_EQ(Create(), std::vector<std::string>{"Pelmora Help"});
  EXPECT_EQ(Contents(Host("C:\\Elsewhere\\victim.txt")), "kept");
  EXPECT_TRUE(fs::exists(LinkFile("Tarvo's Pelmora")));
}

}  // namespace
