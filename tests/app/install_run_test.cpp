// The installation run from "Next >>" on page 3 to the finish state, and the ways it
// can go wrong on the way.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "product/pelmora.h"
#include "tests/app/wizard_harness.h"
#include "tests/support/test_product.h"

namespace app_test {
namespace {

using platform::kHKeyLocalMachine;
using platform::portable::StoredValue;

constexpr char kDestination[] = "C:\\Program Files\\Pelmora";
constexpr char kProductKey[] = "Software\\Quorvalen\\PLM";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora";
constexpr int kRunMessageStyle = 4144;
constexpr char kSuccess[] =
    "Installation of Pelmora has been successfully completed! You can run PLM from the Start Menu.";

std::vector<std::uint8_t> ReadHostFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The list of installed programs counts in kilobytes, a part of one whole.
std::vector<std::uint8_t> KilobytesOfFilesBut(std::size_t notInstalled) {
  std::uint32_t bytes = 0;
  const auto files = payload_test::TestProductFiles();
  for (std::size_t item = 0; item < files.size(); ++item) {
    if (item != notInstalled) bytes += static_cast<std::uint32_t>(files[item]->size());
  }
  const std::uint32_t kilobytes = (bytes + 1023) / 1024;
  return {static_cast<std::uint8_t>(kilobytes), static_cast<std::uint8_t>(kilobytes >> 8),
          static_cast<std::uint8_t>(kilobytes >> 16), 0};
}

StoredValue StringValue(const std::string& text) {
  StoredValue value{platform::RegType::kSz, std::vector<std::uint8_t>(text.begin(), text.end())};
  value.data.push_back(0);
  return value;
}

class InstallRunTest : public ::testing::Test {
 protected:
  void SetUp() override { h.WriteSetupFile(); }

  // Starts the program and walks to page 3; the next Next starts the run.
  void ReadyToInstall() {
    h.Start();
    h.GoToDestinationPage();
    pumpsBefore = h.toolkit.EventPumps();
  }
  int RunPumps() { return h.toolkit.EventPumps() - pumpsBefore; }
  void Install() {
    ReadyToInstall();
    h.Click(h.Wizard().Command2);
  }

  std::string Installed(std::size_t item, const std::string& folder = kDestination) {
    return folder + "\\" + std::string(product::kProductFiles[item].installedName);
  }
  void ExpectInstalled(std::size_t item, const std::string& folder = kDestination) {
    const auto expected = payload_test::TestProductFiles()[item];
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(ReadHostFile(h.Host(Installed(item, folder))), *expected) << Installed(item, folder);
  }

  std::vector<std::string> RunMessages() {
    std::vector<std::string> texts;
    for (const auto& message : h.toolkit.Messages()) {
      if (message.title == "Pelmora") {
        EXPECT_EQ(message.style, kRunMessageStyle) << message.text;
        texts.push_back(message.text);
      }
    }
    return texts;
  }

  std::vector<std::string> GroupCommands(const std::string& folder = kDestination) {
    std::vector<std::string> commands = {
        "[CreateGroup(Pelmora)]", "[additem(\"" + folder + "\\Pelmora.exe\",Tarvo's Pelmora)]"};
    commands.push_back("[additem(\"" + folder + "\\PLM.chm\",Pelmora Help)]");
    commands.push_back("[additem(\"" + folder + "\\Uninstall PLM.exe\",Uninstall Pelmora)]");
    return commands;
  }

  void ExpectFinishState(const std::string& finishText = kSuccess) {
    EXPECT_FALSE(h.Ended());
    EXPECT_EQ(h.ShownPage(), 4);
    EXPECT_EQ(h.Wizard().Label11.Caption(), finishText);
    EXPECT_EQ(h.Wizard().Label12.Caption(), "");
    EXPECT_EQ(h.Wizard().Command2.Caption(), "Finish");
    EXPECT_TRUE(h.Wizard().Command2.Enabled());
    EXPECT_FALSE(h.Wizard().Command1.Enabled());
    EXPECT_FALSE(h.Wizard().Command3.Enabled());
    EXPECT_TRUE(h.Wizard().Check1.IsShowing());
    EXPECT_EQ(h.Wizard().Check1.Value(), 0);
  }

  WizardHarness h;
  int pumpsBefore = 0;
};

TEST_F(InstallRunTest, InstallsTheEightFilesTheRecordsAndTheGroup) {
  Install();
  ExpectFinishState();
  EXPECT_TRUE(h.RunFolders().empty());
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) ExpectInstalled(item);

  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kProductKey, "Dizin")->data,
            StringValue(kDestination).data);
  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kProductKey, "Version")->data,
            (std::vector<std::uint8_t>{7, 0, 0, 0}));
  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kProductKey, "Version")->type,
            platform::RegType::kDword);
  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kProductKey, "IncCur")->data,
            (std::vector<std::uint8_t>{1, 0, 0, 0}));
  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kUninstallKey, "DisplayName")->data,
            StringValue("Tarvo's Pelmora").data);
  const auto uninstall = h.registry.FindValue(kHKeyLocalMachine, kUninstallKey, "UninstallString");
  EXPECT_EQ(uninstall->type, platform::RegType::kSz);
  EXPECT_EQ(uninstall->data, StringValue("\"C:\\Program Files\\Pelmora\\Uninstall PLM.exe\"").data);
  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kUninstallKey, "EstimatedSize")
                .value_or(StoredValue{})
                .data,
            KilobytesOfFilesBut(setup_file::kItemCount));

  EXPECT_EQ(h.backend.programManager.Commands(), GroupCommands());
  EXPECT_EQ(h.backend.programManager.Groups().at("Pelmora").size(), 3u);
  EXPECT_EQ(h.backend.programManager.OpenConversations(), 0);
  EXPECT_TRUE(h.toolkit.Messages().empty());
  EXPECT_EQ(RunPumps(), 9);
}

TEST_F(InstallRunTest, ThePhasesAndItemsAreShownAsTheRunGoesOn) {
  Install();
  std::vector<std::string> painted;
  for (const auto& repaint : h.toolkit.Repaints())
    painted.push_back(repaint.control + ": " + repaint.caption);
  std::vector<std::string> expected;
  for (const auto& file : product::kProductFiles)
    expected.push_back("Label12: " + std::string(file.temporaryName));
  expected.push_back("Label12: ");
  expected.push_back("Label11: Registry settings are being done...");
  expected.push_back("Label11: Temporary files are being deleted...");
  expected.push_back("Label11: Shortcuts are being created...");
  expected.push_back(std::string("Label11: ") + kSuccess);
  EXPECT_EQ(painted, expected);
}

TEST_F(InstallRunTest, EachItemIsExpandedFromTheEndOfTheSetupFileBeforeTheNextIsExtracted) {
  // At each item's event pump, the item is extracted and the ones before it are installed.
  ReadyToInstall();
  for (int pump = 1; pump <= 8; ++pump) {
    h.toolkit.AtEventPump(pump, [this, pump] {
      const auto item = static_cast<std::size_t>(pump - 1);
      ASSERT_EQ(h.RunFolders().size(), 1u);
      EXPECT_TRUE(h.PathExists(h.RunFolders()[0] + "\\" +
                               std::string(product::kProductFiles[item].temporaryName)));
      EXPECT_EQ(h.Wizard().Label12.Caption(), Installed(item));
      EXPECT_FALSE(h.Wizard().Command1.Enabled());
      EXPECT_FALSE(h.Wizard().Command2.Enabled());
      EXPECT_TRUE(h.Wizard().Command3.AcceptsInput());
      if (item > 0) ExpectInstalled(item - 1);
      EXPECT_FALSE(h.PathExists(Installed(item)));
    });
  }
  h.Click(h.Wizard().Command2);
  ExpectFinishState();
}

// A platform failure in the middle of the run (here, while the fourth item is being
// installed) shows its report and takes the temporary folder with it.
TEST_F(InstallRunTest, APlatformFailureDuringTheRunEndsTheProgramWithoutTheTemporaryFolder) {
  ReadyToInstall();
  h.toolkit.AtEventPump(4, [this] {
    ASSERT_EQ(h.RunFolders().size(), 1u);
    h.toolkit.Fail("Program Manager is gone");
  });
  h.Click(h.Wizard().Command2);
  EXPECT_TRUE(h.Ended());
  EXPECT_EQ(h.toolkit.ErrorReports(), std::vector<std::string>{"Program Manager is gone"});
  EXPECT_TRUE(h.RunFolders().empty());
  EXPECT_TRUE(h.toolkit.Messages().empty());
}

class ItemFailureTest : public InstallRunTest, public ::testing::WithParamInterface<std::size_t> {
 protected:
  std::string Name() { return std::string(product::kProductFiles[GetParam()].installedName); }
  std::string Missing(const std::string& what) {
    return "Finished with errors. Missing: " + what + ".";
  }
  // The run's own message for the item, when it could not be "extracted" or "expanded".
  std::string ItemMessage(const std::string& failed) {
    if (GetParam() == 6) {
      return failed == "extracted" ? "PLM uninstall file could not be extracted!"
                                   : "PLM 'Uninstall' file could not be expanded!";
    }
    if (GetParam() == 7) return "PLM help file could not be " + failed + "!";
    return "File '" + Name() + "' could not be " + failed + "!";
  }
  std::vector<std::string> AllMessages() {
    std::vector<std::string> texts;
    for (const auto& message : h.toolkit.Messages()) texts.push_back(message.text);
    return texts;
  }
};

// The run opens two files per item, in its folder and beside the installed file: the item's
// is the first of its two.
int ItemOpen(std::size_t item) { return static_cast<int>(2 * item + 1); }

// Items 2 to 8: the run's own message alone, and the run goes on.
TEST_P(ItemFailureTest, AnItemThatCannotBeExtractedIsToldOnceAndTheRunGoesOn) {
  const std::size_t failing = GetParam();
  // A file of an earlier installation, which nothing must overwrite with a broken item.
  h.MakeFolder(kDestination);
  h.WriteFile(Installed(failing), "earlier");
  ReadyToInstall();
  h.backend.faults.Fail("Open", platform::SystemError::kAccessDenied, ItemOpen(failing));
  h.Click(h.Wizard().Command2);
  ExpectFinishState(Missing(Name()));
  EXPECT_TRUE(h.RunFolders().empty());
  EXPECT_EQ(AllMessages(), std::vector<std::string>{ItemMessage("extracted")});
  EXPECT_EQ(RunMessages().size(), 1u);
  const auto earlier = ReadHostFile(h.Host(Installed(failing)));
  EXPECT_EQ(std::string(earlier.begin(), earlier.end()), "earlier");
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
    if (item != failing) ExpectInstalled(item);
  }
  EXPECT_TRUE(
      h.registry.FindValue(kHKeyLocalMachine, kUninstallKey, "UninstallString").has_value());
  EXPECT_EQ(h.backend.programManager.Commands(), GroupCommands());  // the earlier file is there
}

// A folder where the file should be written refuses it as a file in use does: the user who
// chooses Cancel keeps it, and the run goes on.
TEST_P(ItemFailureTest, AnItemThatCannotBeInstalledIsReportedAndTheRunGoesOn) {
  const std::size_t failing = GetParam();
  h.MakeFolder(kDestination);
  h.MakeFolder(Installed(failing));
  h.toolkit.AnswerMessageBox(platform::kCancel);
  Install();
  // Without an uninstaller in place, the list of installed programs gets no entry for it.
  ExpectFinishState(
      Missing(failing == 6 ? Name() + ", uninstall entry" : Name()));
  EXPECT_EQ(h.registry.KeyExists(kHKeyLocalMachine, kUninstallKey), failing != 6);
  if (failing != 6) {
    EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kUninstallKey, "EstimatedSize")
                  .value_or(StoredValue{})
                  .data,
              KilobytesOfFilesBut(failing));
  }
  EXPECT_TRUE(h.RunFolders().empty());
  EXPECT_FALSE(h.PathExists(Installed(failing) + ".new_"));
  // The question, then after Cancel the run's own message and no other.
  EXPECT_EQ(AllMessages(),
            (std::vector<std::string>{
                "File '" + Installed(failing) +
                    "' is in use or read-only. Close the program that uses it and choose Retry, "
                    "or choose Cancel to keep its earlier version.",
                ItemMessage("expanded")}));
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
    if (item != failing) ExpectInstalled(item);
  }
  // A help file or uninstaller that is not there is left out of the group.
  auto commands = GroupCommands();
  if (failing == 7) commands.erase(commands.begin() + 2);
  if (failing == 6) commands.erase(commands.begin() + 3);
  EXPECT_EQ(h.backend.programManager.Commands(), commands);
}

// Whether the expansion says why (a source it cannot use) or not (a full destination), the
// user hears of the item once, in the run's own words.
TEST_P(ItemFailureTest, AnItemThatCannotBeExpandedIsToldOnceInTheRunsOwnWords) {
  for (const int code : {platform::LzError::kBadInHandle, platform::LzError::kWrite}) {
    SCOPED_TRACE(code);
    WizardHarness fresh;
    fresh.WriteSetupFile();
    fresh.Start();
    fresh.GoToDestinationPage();
    fresh.backend.faults.Fail("LZCopy", code, static_cast<int>(GetParam()) + 1);
    fresh.Click(fresh.Wizard().Command2);
    EXPECT_EQ(fresh.Wizard().Label11.Caption().rfind("Finished with errors. Missing: " + Name(), 0),
              0u);
    ASSERT_EQ(fresh.toolkit.Messages().size(), 1u);
    EXPECT_EQ(fresh.toolkit.Messages()[0].text, ItemMessage("expanded"));
    EXPECT_EQ(fresh.toolkit.Messages()[0].title, "Pelmora");
  }
}

INSTANTIATE_TEST_SUITE_P(ItemsTwoToEight, ItemFailureTest, ::testing::Range<std::size_t>(1, 8));

constexpr char kApplicationStopped[] =
    "File 'Pelmora.exe' could not be installed! The installation has stopped; no file has been "
    "changed.";

TEST_F(InstallRunTest, AnApplicationThatCannotBeExtractedStopsTheRunBeforeAnyRecord) {
  ReadyToInstall();
  h.toolkit.AtEventPump(1, [&] { ADD_FAILURE() << "the run went on"; });
  h.backend.faults.Fail("Open", platform::SystemError::kAccessDenied, ItemOpen(0));
  h.Click(h.Wizard().Command2);
  EXPECT_TRUE(h.Ended());
  // The extraction's message says it all.
  EXPECT_TRUE(RunMessages().empty());
  ASSERT_EQ(h.toolkit.Messages().size(), 1u);
  EXPECT_EQ(h.toolkit.Messages()[0].text.rfind("File 'C:\\Temp\\PLMTMP-", 0), 0u);
  EXPECT_TRUE(h.RunFolders().empty());
  EXPECT_FALSE(h.registry.KeyExists(kHKeyLocalMachine, kProductKey));
  EXPECT_TRUE(h.backend.programManager.Commands().empty());
}

TEST_F(InstallRunTest, AnApplicationThatCannotBeInstalledStopsTheRun) {
  h.MakeFolder(Installed(0));
  Install();
  EXPECT_TRUE(h.Ended());
  ASSERT_EQ(h.toolkit.Messages().size(), 2u);
  EXPECT_EQ(h.toolkit.Messages()[0].title, "Error");
  EXPECT_EQ(RunMessages(), std::vector<std::string>{kApplicationStopped});
  EXPECT_TRUE(h.RunFolders().empty());
  EXPECT_FALSE(h.PathExists(Installed(1)));
  EXPECT_FALSE(h.registry.KeyExists(kHKeyLocalMachine, kUninstallKey));
}

// The earlier application runs while the setup installs over it.
class ApplicationInUseTest : public InstallRunTest {
 protected:
  void SetUp() override {
    InstallRunTest::SetUp();
    h.MakeFolder(kDestination);
    h.WriteFile(Installed(0), "earlier");
    h.files.HoldElsewhere(Installed(0), "Tarvo's Pelmora");
  }
  void CloseApplication() { h.files.ReleaseElsewhere(Installed(0)); }

  // Each question asked, by its text; every one names the installed file and its holder.
  std::vector<std::string> Questions() {
    std::vector<std::string> texts;
    for (const auto& message : h.toolkit.Messages()) {
      if (message.title != "Error") continue;
      EXPECT_EQ(message.style, 53) << message.text;  // Retry and Cancel, exclamation
      texts.push_back(message.text);
    }
    return texts;
  }
  const std::string question =
      "File '" + Installed(0) +
      "' is in use by Tarvo's Pelmora. Close it and choose Retry, or choose Cancel to keep its "
      "earlier version.";
};

TEST_F(ApplicationInUseTest, RetryOnceItIsClosedInstallsItAndTheRunFinishes) {
  h.toolkit.AnswerMessageBox(platform::kRetry);
  h.toolkit.AnswerMessageBox(platform::kRetry, [this] { CloseApplication(); });
  Install();
  ExpectFinishState();
  EXPECT_EQ(Questions(), std::vector<std::string>(2, question));
  EXPECT_TRUE(RunMessages().empty());
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) ExpectInstalled(item);
}

TEST_F(ApplicationInUseTest, CancelAfterARetryKeepsItAndStopsTheRun) {
  h.toolkit.AnswerMessageBox(platform::kRetry);
  h.toolkit.AnswerMessageBox(platform::kCancel);
  Install();
  EXPECT_TRUE(h.Ended());
  EXPECT_EQ(Questions(), std::vector<std::string>(2, question));
  EXPECT_EQ(RunMessages(), std::vector<std::string>{kApplicationStopped});
  const auto earlier = ReadHostFile(h.Host(Installed(0)));
  EXPECT_EQ(std::string(earlier.begin(), earlier.end()), "earlier");
  EXPECT_FALSE(h.PathExists(Installed(0) + ".new_"));
  EXPECT_FALSE(h.PathExists(Installed(1)));
  EXPECT_TRUE(h.RunFolders().empty());
  EXPECT_FALSE(h.registry.KeyExists(kHKeyLocalMachine, kProductKey));
}

// One failure, one message: the step that failed tells it where it can, the run otherwise.
TEST_F(InstallRunTest, AnApplicationThatCannotBeExpandedIsToldOnceAndStopsTheRun) {
  struct Case {
    int code;
    const char* text;
  };
  const std::string stopped = kApplicationStopped;
  const Case cases[] = {
      {platform::LzError::kBadInHandle, "Kaynak dosya handle numarası yanlış!"},
      {platform::LzError::kWrite,
       "File 'Pelmora.exe' could not be installed: the destination drive is full! The "
       "installation has stopped; no file has been changed."},
      {-6, kApplicationStopped},
      {-7, kApplicationStopped},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    WizardHarness fresh;
    fresh.WriteSetupFile();
    fresh.Start();
    fresh.GoToDestinationPage();
    fresh.backend.faults.Fail("LZCopy", c.code);
    fresh.Click(fresh.Wizard().Command2);
    EXPECT_TRUE(fresh.Ended());
    ASSERT_EQ(fresh.toolkit.Messages().size(), 1u);
    EXPECT_EQ(fresh.toolkit.Messages()[0].text, c.text);
    EXPECT_FALSE(fresh.PathExists(Installed(1)));
  }
}

// A new application that is not the one built is told by the check alone.
TEST_F(InstallRunTest, AnApplicationThatCannotBeReplacedIsToldOnceByTheInstallation) {
  ReadyToInstall();
  h.backend.faults.Fail("Rename", platform::SystemError::kNotReady);
  h.Click(h.Wizard().Command2);
  EXPECT_TRUE(h.Ended());
  EXPECT_TRUE(RunMessages().empty());
  ASSERT_EQ(h.toolkit.Messages().size(), 1u);
  EXPECT_EQ(h.toolkit.Messages()[0].text, "File '" + Installed(0) + "' could not be replaced!");
}

// Whatever another program laid in the temporary folder beforehand, under the names the run's
// folder and items once had, is neither used nor touched: the run makes a fresh folder.
TEST_F(InstallRunTest, WhatOthersLaidInTheTemporaryFolderIsLeftAlone) {
  h.MakeFolder("C:\\Temp\\PLMTMP");
  h.WriteFile("C:\\Temp\\PLMTMP\\Stop.wa_", "laid beforehand");
  h.WriteFile("C:\\Temp\\PLMTMP-0000000000000000", "a plain file of the folder's kind of name");
  Install();
  ExpectFinishState();
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) ExpectInstalled(item);
  const auto laid = ReadHostFile(h.Host("C:\\Temp\\PLMTMP\\Stop.wa_"));
  EXPECT_EQ(std::string(laid.begin(), laid.end()), "laid beforehand");
  EXPECT_EQ(h.RunFolders(), std::vector<std::string>{"C:\\Temp\\PLMTMP-0000000000000000"});
}

// Elevated, the run's folder is open to administrators and the system alone.
TEST_F(InstallRunTest, AnElevatedRunWorksInAFolderOfAdministratorsOnly) {
  h.backend.SetElevated(true);
  ReadyToInstall();
  h.toolkit.AtEventPump(1, [this] {
    ASSERT_EQ(h.RunFolders().size(), 1u);
    EXPECT_EQ(h.files.AccessOf(h.RunFolders()[0]),
              platform::portable::FolderAccess::kAdministratorsOnly);
  });
  h.Click(h.Wizard().Command2);
  ExpectFinishState();
  EXPECT_EQ(h.files.AccessOf(kDestination), platform::portable::FolderAccess::kProgramFiles);
}

TEST_F(InstallRunTest, AFolderThatCannotBeMadeStopsTheRunBeforeAnything) {
  ReadyToInstall();
  h.backend.faults.Fail("MkDir", platform::SystemError::kAccessDenied, 3);  // after the default's
  h.Click(h.Wizard().Command2);
  EXPECT_TRUE(h.Ended());
  EXPECT_EQ(RunMessages(), std::vector<std::string>{"A temporary folder could not be created in "
                                                    "C:\\Temp! Nothing has been installed."});
  EXPECT_FALSE(h.PathExists(Installed(0)));
}

// The setup file is held from the start: another program cannot change it before the run.
TEST_F(InstallRunTest, TheSetupFileIsHeldFromTheStart) {
  ReadyToInstall();
  int error = 0;
  auto forged = h.files.Open("C:\\Setup\\forged.exe", platform::ChannelMode::kCreateNew, error);
  ASSERT_TRUE(forged);
  EXPECT_EQ(forged->MoveTo("C:\\Setup\\setup.exe"), platform::SystemError::kSharingViolation);
  forged->Discard();
  h.Click(h.Wizard().Command2);
  ExpectFinishState();
}

TEST_F(InstallRunTest, ASetupFileAtTheRootOfADriveIsFound) {
  std::filesystem::rename(h.Host("C:\\Setup\\setup.exe"), h.Host("D:\\") / "setup.exe");
  h.toolkit.SetProgramFile("D:\\setup.exe");
  Install();
  ExpectFinishState();
}

// A temporary folder that stays is named, once, and the run still finishes whole.
TEST_F(InstallRunTest, ATemporaryFolderThatCannotBeRemovedIsNamedToTheUser) {
  h.backend.faults.Fail("RmDir", platform::SystemError::kAccessDenied, 1, true);
  Install();
  ExpectFinishState();
  const std::vector<std::string> left = h.RunFolders();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(RunMessages(), std::vector<std::string>{"The temporary folder " + left[0] +
                                                    " could not be removed! You can delete it "
                                                    "yourself."});
}

// Without Program Manager the run makes the group itself, as a folder of shell links.
TEST_F(InstallRunTest, WithoutProgramManagerTheRunMakesTheGroupItself) {
  h.backend.programManager.SetPresent(false);
  Install();
  ExpectFinishState();
  EXPECT_TRUE(RunMessages().empty());
  EXPECT_TRUE(h.HoldsOwnGroup());
}

// Once the files are in place, nothing ends the program: the finish text names what is missing.
TEST_F(InstallRunTest, AGroupThatCannotBeMadeIsReportedAfterTheRecords) {
  h.backend.programManager.SetPresent(false);
  h.backend.faults.Fail("MakeShellLink", platform::SystemError::kAccessDenied, 1, true);
  Install();
  ExpectFinishState("Finished with errors. Missing: Start Menu items.");
  EXPECT_EQ(RunMessages(), std::vector<std::string>{
                               "These items could not be added to the Start Menu group "
                               "Pelmora:\rTarvo's Pelmora\rPelmora Help\rUninstall Pelmora"});
  EXPECT_TRUE(h.registry.KeyExists(kHKeyLocalMachine, kUninstallKey));
  EXPECT_TRUE(h.RunFolders().empty());
}

TEST_F(InstallRunTest, ARefusedGroupItemIsReportedAndTheRunFinishes) {
  h.backend.faults.Fail("Execute", 1, 3);  // the help file's item
  Install();
  ExpectFinishState("Finished with errors. Missing: Start Menu item.");
  EXPECT_EQ(RunMessages(), std::vector<std::string>{"These items could not be added to the Start "
                                                    "Menu group Pelmora:\rPelmora Help"});
  EXPECT_EQ(h.backend.programManager.Groups().at("Pelmora").size(), 2u);
  EXPECT_EQ(h.backend.programManager.OpenConversations(), 0);
}

TEST_F(InstallRunTest, AnEarlierDestinationFromTheRegistryIsUsedAndRecordedAgain) {
  h.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", "D:\\Tools\\Pelmora");
  h.MakeFolder("D:\\Tools\\Pelmora");
  Install();
  ExpectFinishState();
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item)
    ExpectInstalled(item, "D:\\Tools\\Pelmora");
  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kProductKey, "Dizin")->data,
            StringValue("D:\\Tools\\Pelmora").data);
  EXPECT_EQ(h.backend.programManager.Commands(), GroupCommands("D:\\Tools\\Pelmora"));
}

// Program Manager reads its commands in the ANSI code page, which has no "Ğ": the paths go
// to it in their short form.
TEST_F(InstallRunTest, ADestinationBeyondTheAnsiCodePageGetsItsGroupByShortPaths) {
  const std::string folder = "C:\\Ğüzel Pelmora";
  h.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", folder);
  h.MakeFolder(folder);
  Install();
  ExpectFinishState();
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) ExpectInstalled(item, folder);
  EXPECT_EQ(
      h.backend.programManager.Commands(),
      (std::vector<std::string>{"[CreateGroup(Pelmora)]",
                                "[additem(\"C:\\ZELPEL~1\\PELMORA.EXE\",Tarvo's Pelmora)]",
                                "[additem(\"C:\\ZELPEL~1\\PLM.CHM\",Pelmora Help)]",
                                "[additem(\"C:\\ZELPEL~1\\UNINST~1.EXE\",Uninstall Pelmora)]"}));
  EXPECT_EQ(h.backend.programManager.Groups().at("Pelmora").size(), 3u);
  EXPECT_EQ(h.registry.FindValue(kHKeyLocalMachine, kProductKey, "Dizin")->data,
            StringValue(folder).data);
}

// "Cancel" at each of the nine event pumps of the run.
class CancelDuringRunTest : public InstallRunTest, public ::testing::WithParamInterface<int> {};

TEST_P(CancelDuringRunTest, YesStopsTheRunThereAndCleansUp) {
  const int pump = GetParam();
  ReadyToInstall();
  h.toolkit.AtEventPump(pump, [this] {
    h.toolkit.AnswerMessageBox(platform::kYes);
    h.Click(h.Wizard().Command3);
  });
  h.Click(h.Wizard().Command2);
  EXPECT_TRUE(h.Ended());
  EXPECT_EQ(RunPumps(), pump);
  EXPECT_EQ(h.Wizard().Label11.Caption(), "Temporary files are being deleted...");
  EXPECT_TRUE(h.RunFolders().empty());
  const auto expanded = static_cast<std::size_t>(pump - 1);
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
    if (item < expanded) {
      ExpectInstalled(item);
    } else {
      EXPECT_FALSE(h.PathExists(Installed(item)));
    }
  }
  EXPECT_EQ(h.registry.KeyExists(kHKeyLocalMachine, kProductKey), pump == 9);
}

TEST_P(CancelDuringRunTest, NoLetsTheRunGoOnToTheEnd) {
  ReadyToInstall();
  h.toolkit.AtEventPump(GetParam(), [this] {
    h.toolkit.AnswerMessageBox(platform::kNo);
    h.Click(h.Wizard().Command3);
  });
  h.Click(h.Wizard().Command2);
  ExpectFinishState();
  ASSERT_EQ(h.toolkit.Messages().size(), 1u);
  EXPECT_EQ(h.toolkit.Messages()[0].text, "Do you want to cancel the installation?");
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) ExpectInstalled(item);
}

INSTANTIATE_TEST_SUITE_P(AtEachEventPump, CancelDuringRunTest, ::testing::Range(1, 10));

class FinishTest : public InstallRunTest {
 protected:
  void SetUp() override {
    InstallRunTest::SetUp();
    Install();
    ExpectFinishState();
  }
  void FinishAndRunPlm() {
    h.Click(h.Wizard().Check1);
    h.Click(h.Wizard().Command2);
  }
  void ExpectOneMessage(const std::string& text, const std::string& title) {
    ASSERT_EQ(h.toolkit.Messages().size(), 1u);
    EXPECT_EQ(h.toolkit.Messages()[0].text, text);
    EXPECT_EQ(h.toolkit.Messages()[0].title, title);
    EXPECT_EQ(h.toolkit.Messages()[0].style, platform::MsgBoxStyle::kExclamation);
  }

  static constexpr char kApplication[] = "C:\\Program Files\\Pelmora\\Pelmora.exe";
};

TEST_F(FinishTest, FinishWithTheTickStartsTheInstalledApplication) {
  FinishAndRunPlm();
  EXPECT_TRUE(h.Ended());
  ASSERT_EQ(h.toolkit.StartedPrograms().size(), 1u);
  EXPECT_EQ(h.toolkit.StartedPrograms()[0].path, kApplication);
  EXPECT_FALSE(h.toolkit.StartedPrograms()[0].byShell);
  EXPECT_TRUE(h.toolkit.Messages().empty());
}

TEST_F(FinishTest, FinishWithoutTheTickStartsNothing) {
  h.Click(h.Wizard().Command2);
  EXPECT_TRUE(h.Ended());
  EXPECT_TRUE(h.toolkit.StartedPrograms().empty());
}

TEST_F(FinishTest, TheCloseBoxActsAsFinishWithoutAQuestion) {
  h.Click(h.Wizard().Check1);
  h.CloseWizard();
  EXPECT_TRUE(h.Ended());
  EXPECT_TRUE(h.toolkit.Messages().empty());
  EXPECT_EQ(h.toolkit.StartedPrograms().size(), 1u);
}

TEST_F(FinishTest, AnApplicationThatCannotStartIsReportedAndTheProgramEnds) {
  h.toolkit.SetStartableProgram([](const std::string&) { return false; });
  FinishAndRunPlm();
  EXPECT_TRUE(h.Ended());
  ExpectOneMessage(std::string(kApplication) + " could not be started!", "Error");
}

// The elevated setup's rights never pass to the application: the shell starts it as the
// signed-in user, or it is not started and the user is told where to start it.
TEST_F(FinishTest, AnElevatedSetupHasTheShellStartTheApplication) {
  h.backend.SetElevated(true);
  FinishAndRunPlm();
  EXPECT_TRUE(h.Ended());
  ASSERT_EQ(h.toolkit.StartedPrograms().size(), 1u);
  EXPECT_EQ(h.toolkit.StartedPrograms()[0].path, kApplication);
  EXPECT_TRUE(h.toolkit.StartedPrograms()[0].byShell);
  EXPECT_TRUE(h.toolkit.Messages().empty());
}

TEST_F(FinishTest, AnElevatedSetupWithoutTheShellStartsNothingAndSaysWhereToStartTheApplication) {
  h.backend.SetElevated(true);
  h.backend.faults.Fail("ShellStart", platform::portable::kOperationFailed);
  FinishAndRunPlm();
  EXPECT_TRUE(h.Ended());
  EXPECT_TRUE(h.toolkit.StartedPrograms().empty());
  ExpectOneMessage(
      "PLM has not been started. Please start it from the Start Menu: Tarvo's Pelmora in the "
      "group Pelmora.",
      "Pelmora");
}

}  // namespace
}  // namespace app_test
