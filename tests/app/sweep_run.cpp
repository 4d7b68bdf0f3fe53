#include "tests/app/sweep_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "product/pelmora.h"
#include "tests/app/wizard_harness.h"
#include "tests/platform/list_form.h"
#include "tests/support/test_product.h"
#include "ui/form3.h"

namespace app_test {

namespace fs = std::filesystem;
using platform::kHKeyLocalMachine;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Both folders hold files of other content than the new ones, and the new file of one that a
// run interrupted there left behind.
constexpr const char* kFoldersWithEarlierFiles[] = {kEarlierDestination, kOlderCopy};
constexpr char kLeftover[] = "Stop.wav.new_";
constexpr char kLeftoverContent[] = "half of a new Stop.wav";

constexpr char kProductKey[] = "Software\\Quorvalen\\PLM";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora";
constexpr char kSuccess[] =
    "Installation of Pelmora has been successfully completed! You can run PLM from the Start Menu.";

Bytes ReadHostFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes EarlierContent(std::size_t item) {
  const std::string text = "earlier " + std::string(product::kProductFiles[item].installedName);
  return Bytes(text.begin(), text.end());
}

Bytes RegString(const std::string& text) {
  Bytes data(text.begin(), text.end());
  data.push_back(0);
  return data;
}

Bytes Number(std::uint32_t number) {
  return {static_cast<std::uint8_t>(number), static_cast<std::uint8_t>(number >> 8),
          static_cast<std::uint8_t>(number >> 16), static_cast<std::uint8_t>(number >> 24)};
}

std::string PathIn(const std::string& folder, std::size_t item) {
  return folder + "\\" + std::string(product::kProductFiles[item].installedName);
}

bool Running(const WizardHarness& h) { return !h.Ended() && !h.Hung(); }

void SetUpMachine(WizardHarness& h) {
  h.WriteSetupFile();
  for (const char* folder : kFoldersWithEarlierFiles) {
    h.MakeFolder(folder);
    for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
      const Bytes earlier = EarlierContent(item);
      h.WriteFile(PathIn(folder, item), std::string(earlier.begin(), earlier.end()));
    }
    h.WriteFile(std::string(folder) + "\\" + kLeftover, kLeftoverContent);
  }
  h.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", kEarlierDestination);
  h.registry.PutValue(kHKeyLocalMachine, kProductKey, "Version",
                      {platform::RegType::kDword, {6, 0, 0, 0}});
}

// The folder list's entries on the way down to `folder`: its drive's root ("C:\"), then the
// folders by name.
std::vector<std::string> EntriesDownTo(const std::string& folder) {
  std::vector<std::string> names{folder.substr(0, 3)};
  for (std::size_t at = 3; at < folder.size();) {
    const std::size_t end = std::min(folder.find('\\', at), folder.size());
    names.push_back(folder.substr(at, end - at));
    at = end + 1;
  }
  return names;
}

// In the chooser: the folder's drive, then down to the folder, and "&Ok" there. Whatever the
// chooser could not do, its close box brings the wizard back on the destination it had.
void ChooseFolder(WizardHarness& h, const std::string& folder) {
  h.Click(h.Wizard().Command4);
  ui::Form3* const chooser = h.Wizard().Chooser();
  if (!Running(h) || chooser == nullptr || !chooser->Loaded()) return;
  const char drive = static_cast<char>(std::tolower(static_cast<unsigned char>(folder[0])));
  if (const int entry = ui_test::EntryOf(chooser->Drive1, drive); entry >= 0)
    h.Act([&] { chooser->Drive1.UserPick(entry); });
  for (const std::string& name : EntriesDownTo(folder)) {
    const int entry = ui_test::EntryNamed(chooser->Dir1, name);
    if (!Running(h) || entry < 0) break;
    h.Act([&] { chooser->Dir1.UserOpen(entry); });
  }
  if (Running(h) && chooser->Dir1.Path() == folder) h.Click(chooser->Command2);
  if (Running(h) && chooser->Loaded()) h.Act([&] { chooser->UserClose(); });
}

// From the start to the end of the run: page 2 agreed, page 3 left with or without the
// chooser, the run.
void WalkToTheRun(WizardHarness& h, const Walk& walk) {
  h.Start();
  if (Running(h)) h.Click(h.Wizard().Command2);
  if (Running(h)) h.Click(h.Wizard().Option1);
  if (Running(h)) h.Click(h.Wizard().Command2);
  if (Running(h) && h.Wizard().Label10.Caption() != walk.destination)
    ChooseFolder(h, walk.destination);
  if (Running(h)) h.Click(h.Wizard().Command2);  // the run
}

std::vector<std::string> Told(WizardHarness& h) {
  std::vector<std::string> told;
  for (const auto& message : h.toolkit.Messages()) told.push_back(message.text);
  for (const std::string& report : h.toolkit.ErrorReports()) told.push_back(report);
  return told;
}

bool WasToldOf(WizardHarness& h, const std::string& what) {
  for (const std::string& text : Told(h)) {
    if (text.find(what) != std::string::npos) return true;
  }
  return false;
}

// A text about the folder itself names it without going on into it: a file in the folder
// ("...\PLMTMP-...\Pelmora.ex_") is no word about the folder.
bool WasToldOfFolder(WizardHarness& h, const std::string& folder) {
  for (const std::string& text : Told(h)) {
    for (std::size_t at = text.find(folder); at != std::string::npos;
         at = text.find(folder, at + 1)) {
      const std::size_t after = at + folder.size();
      if (after == text.size() || text[after] != '\\') return true;
    }
  }
  return false;
}

bool IsProductFile(const std::string& name) {
  for (const auto& file : product::kProductFiles) {
    if (name == file.installedName) return true;
  }
  return false;
}

bool IsLeftoverAsItWas(const fs::path& file) {
  const std::string_view content = kLeftoverContent;
  return file.filename() == kLeftover &&
         ReadHostFile(file) == Bytes(content.begin(), content.end());
}

// Every file in the folders of the earlier installations is its earlier version or, in the
// run's destination only, its new version, whole; nothing else lies there but what the user
// was told of. Returns the names of the files in the destination that did not get their new
// version.
std::vector<std::string> CheckFiles(WizardHarness& h, const std::string& destination) {
  const auto product = payload_test::TestProductFiles();
  std::vector<std::string> notNew;
  for (const std::string folder : kFoldersWithEarlierFiles) {
    for (const auto& entry : fs::directory_iterator(h.Host(folder))) {
      const std::string name = entry.path().filename().string();
      const bool asItWas = IsProductFile(name) || IsLeftoverAsItWas(entry.path());
      if (folder != destination) {
        EXPECT_TRUE(asItWas) << name << " in " << folder << ", where nothing was installed";
        continue;
      }
      EXPECT_TRUE(asItWas || WasToldOf(h, name))
          << "a stray file " << name << " in " << folder << " without a word";
    }
    for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
      const Bytes content = ReadHostFile(h.Host(PathIn(folder, item)));
      const bool isNew = content == *product[item];
      if (folder != destination) {
        EXPECT_EQ(content, EarlierContent(item)) << PathIn(folder, item) << " has changed";
        continue;
      }
      EXPECT_TRUE(isNew || content == EarlierContent(item))
          << PathIn(folder, item) << " is destroyed or partial";
      if (!isNew) notNew.emplace_back(product::kProductFiles[item].installedName);
    }
  }
  return notNew;
}

std::uint32_t KilobytesOfTheProduct() {
  std::uint32_t bytes = 0;
  for (const auto& file : payload_test::TestProductFiles())
    bytes += static_cast<std::uint32_t>(file->size());
  return (bytes + 1023) / 1024;
}

bool RecordsComplete(WizardHarness& h, const std::string& destination) {
  const auto value = [&](const char* key, const char* name) {
    const auto found = h.registry.FindValue(kHKeyLocalMachine, key, name);
    return found ? found->data : Bytes();
  };
  return value(kProductKey, "Dizin") == RegString(destination) &&
         value(kProductKey, "Version") == Number(7) &&
         value(kProductKey, "IncCur") == Number(1) &&
         value(kUninstallKey, "DisplayName") == RegString("Tarvo's Pelmora") &&
         value(kUninstallKey, "UninstallString") ==
             RegString("\"" + destination + "\\Uninstall PLM.exe\"") &&
         value(kUninstallKey, "DisplayVersion") == RegString("1.5") &&
         value(kUninstallKey, "Publisher") == RegString("Quorvalen") &&
         value(kUninstallKey, "DisplayIcon") == RegString(destination + "\\Pelmora.exe,0") &&
         value(kUninstallKey, "InstallLocation") == RegString(destination) &&
         value(kUninstallKey, "EstimatedSize") == Number(KilobytesOfTheProduct()) &&
         value(kUninstallKey, "NoModify") == Number(1) &&
         value(kUninstallKey, "NoRepair") == Number(1);
}

// Program Manager's group, or the folder of links that the run makes where none answers.
bool GroupComplete(WizardHarness& h) {
  const auto& groups = h.backend.programManager.Groups();
  const auto group = groups.find("Pelmora");
  return (group != groups.end() && group->second.size() == 3) || h.HoldsOwnGroup();
}

// The folder that the run installs into: the wizard's destination once the run has begun.
std::string RunDestination(WizardHarness& h) {
  return h.ShownPage() == 4 ? h.State().InstallDir.Trimmed() : std::string();
}

Ending Judge(WizardHarness& h, const std::string& destination) {
  const std::vector<std::string> notNew = CheckFiles(h, destination);
  const bool complete = !destination.empty() && notNew.empty() &&
                        RecordsComplete(h, destination) && GroupComplete(h);
  const std::string finishText = h.Wizard().Label11.Caption();
  const bool finished = !h.Ended() && h.Wizard().Command2.Caption() == "Finish";
  // A write that failed may leave a value that an earlier installation wrote the same: the
  // run then reports a failure that the state does not show, which is no fault.
  if (!complete) {
    EXPECT_NE(finishText, kSuccess) << "success claimed for an incomplete installation";
    EXPECT_FALSE(Told(h).empty()) << "an incomplete installation without a word";
  }
  if (finished) {
    for (const std::string& name : notNew) {
      EXPECT_NE(finishText.find(name), std::string::npos)
          << "the finish text does not name " << name;
    }
    return finishText == kSuccess ? Ending::kComplete : Ending::kFinishedWithErrors;
  }
  if (h.Ended()) return Ending::kStopped;
  EXPECT_EQ(h.ShownPage(), 3) << "neither finished, nor ended, nor back on page 3";
  EXPECT_FALSE(Told(h).empty()) << "the run was refused without a word";
  return Ending::kRefusedOnPage3;
}

// "Run PLM now." ticked, then "Finish": the program ends, and the application has started or
// the user is told that it has not.
void FinishStartingTheApplication(WizardHarness& h) {
  h.Click(h.Wizard().Check1);
  const std::size_t toldBefore = Told(h).size();
  if (Running(h)) h.Click(h.Wizard().Command2);
  if (h.Hung()) return;
  EXPECT_TRUE(h.Ended()) << "\"Finish\" did not end the program";
  const auto& started = h.toolkit.StartedPrograms();
  const bool toldNotStarted = Told(h).size() > toldBefore;
  EXPECT_TRUE(started.size() == 1 || toldNotStarted)
      << "the application neither started nor did the user hear why";
  if (!started.empty()) {
    EXPECT_EQ(started.back().path, h.State().InstallDir.Trimmed() + "\\Pelmora.exe");
  }
}

void CheckTemporaryFolder(WizardHarness& h) {
  for (const std::string& folder : h.RunFolders())
    EXPECT_TRUE(WasToldOfFolder(h, folder)) << "the temporary folder stays without a word";
}

}  // namespace

const char* NameOf(Ending ending) {
  switch (ending) {
    case Ending::kComplete:
      return "complete";
    case Ending::kFinishedWithErrors:
      return "finished with errors";
    case Ending::kStopped:
      return "stopped with a message";
    case Ending::kRefusedOnPage3:
      return "refused on page 3";
    case Ending::kHung:
      return "hung";
  }
  return "?";
}

SweptRun RunAndJudge(const Walk& walk, int stepLimit,
                     const std::function<void(platform::portable::FaultPlan&)>& planFaults,
                     const std::string& point) {
  SCOPED_TRACE(point);
  WizardHarness h;
  SetUpMachine(h);
  h.backend.SetElevated(walk.elevated);
  h.backend.programManager.SetPresent(walk.programManager);
  platform::portable::FaultPlan& faults = h.backend.faults;
  faults.LimitSteps(stepLimit);
  planFaults(faults);

  WalkToTheRun(h, walk);
  Ending ending = Ending::kHung;
  const std::string destination = RunDestination(h);
  if (!h.Hung()) {
    ending = Judge(h, destination);
    if (Running(h) && h.Wizard().Command2.Caption() == "Finish") FinishStartingTheApplication(h);
    CheckTemporaryFolder(h);
  }
  if (h.Hung()) ending = Ending::kHung;

  SweptRun run{ending, destination, faults.TotalCalls(), {}};
  for (const auto& info : platform::portable::kFaultPoints)
    run.calls[static_cast<std::size_t>(info.point)] = faults.Calls(info.name);
  return run;
}

}  // namespace app_test
