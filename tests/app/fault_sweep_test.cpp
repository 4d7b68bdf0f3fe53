// A whole installation over an earlier one, with every platform call failing in turn: once,
// and from then on. Whatever fails, no earlier file is lost or left partial, the success text
// is shown only for a complete installation, every shortfall is told, and the temporary
// folder goes or the user is told that it stays.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "product/pelmora.h"
#include "tests/app/wizard_harness.h"
#include "tests/support/test_product.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using platform::kHKeyLocalMachine;
using Bytes = std::vector<std::uint8_t>;

constexpr char kDestination[] = "C:\\Program Files\\Pelmora";
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

// How a run ended.
enum class Ending { kComplete, kFinishedWithErrors, kStopped, kRefusedOnPage3 };

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
  }
  return "?";
}

class FaultSweep : public ::testing::Test {
 protected:
  // One run of the whole program over an earlier installation (an older version, with
  // files of other content), with the plan's faults; checks every rule and says how it ended.
  Ending RunAndCheck(const std::function<void(platform::portable::FaultPlan&)>& planFaults,
                     const std::string& point) {
    SCOPED_TRACE(point);
    WizardHarness h;
    h.WriteSetupFile();
    h.MakeFolder(kDestination);
    for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
      const Bytes earlier = EarlierContent(item);
      h.WriteFile(Installed(item), std::string(earlier.begin(), earlier.end()));
    }
    h.registry.PutString(kHKeyLocalMachine, kProductKey, "Dizin", kDestination);
    h.registry.PutValue(kHKeyLocalMachine, kProductKey, "Version",
                        {platform::RegType::kDword, {6, 0, 0, 0}});
    planFaults(h.backend.faults);

    h.Start();
    if (!h.Ended()) h.Click(h.Wizard().Command2);
    if (!h.Ended()) h.Click(h.Wizard().Option1);
    if (!h.Ended()) h.Click(h.Wizard().Command2);
    if (!h.Ended()) h.Click(h.Wizard().Command2);  // the run
    totalCalls_ = h.backend.faults.TotalCalls();

    const Ending ending = Judge(h);
    CheckTemporaryFolder(h);
    return ending;
  }

  int TotalCallsOfLastRun() const { return totalCalls_; }

 private:
  static std::string Installed(std::size_t item) {
    return std::string(kDestination) + "\\" +
           std::string(product::kProductFiles[item].installedName);
  }

  static std::vector<std::string> Told(WizardHarness& h) {
    std::vector<std::string> told;
    for (const auto& message : h.toolkit.Messages()) told.push_back(message.text);
    for (const std::string& report : h.toolkit.ErrorReports()) told.push_back(report);
    return told;
  }

  // Every destination file is its earlier or its new version, whole; nothing else lies there
  // but what the user was told of. Returns the names of the files that did not get their new
  // version.
  static std::vector<std::string> CheckFiles(WizardHarness& h) {
    const auto product = payload_test::TestProductFiles();
    std::vector<std::string> notNew;
    for (const auto& entry : fs::directory_iterator(h.Host(kDestination))) {
      const std::string name = entry.path().filename().string();
      EXPECT_TRUE(IsProductFile(name) || WasToldOf(h, name))
          << "a stray file " << name << " without a word";
    }
    for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
      const Bytes content = ReadHostFile(h.Host(Installed(item)));
      const bool isNew = content == *product[item];
      EXPECT_TRUE(isNew || content == EarlierContent(item))
          << Installed(item) << " is destroyed or partial";
      if (!isNew) notNew.emplace_back(product::kProductFiles[item].installedName);
    }
    return notNew;
  }

  static bool IsProductFile(const std::string& name) {
    for (const auto& file : product::kProductFiles) {
      if (name == file.installedName) return true;
    }
    return false;
  }

  static bool WasToldOf(WizardHarness& h, const std::string& what) {
    for (const std::string& text : Told(h)) {
      if (text.find(what) != std::string::npos) return true;
    }
    return false;
  }

  static bool RecordsComplete(WizardHarness& h) {
    const auto value = [&](const char* key, const char* name) {
      const auto found = h.registry.FindValue(kHKeyLocalMachine, key, name);
      return found ? found->data : Bytes();
    };
    return value(kProductKey, "Dizin") == RegString(kDestination) &&
           value(kProductKey, "Version") == Number(7) &&
           value(kProductKey, "IncCur") == Number(1) &&
           value(kUninstallKey, "DisplayName") == RegString("Tarvo's Pelmora") &&
           value(kUninstallKey, "UninstallString") ==
               RegString(std::string("\"") + kDestination + "\\Uninstall PLM.exe\"") &&
           value(kUninstallKey, "DisplayVersion") == RegString("1.5") &&
           value(kUninstallKey, "Publisher") == RegString("Quorvalen") &&
           value(kUninstallKey, "DisplayIcon") ==
               RegString(std::string(kDestination) + "\\Pelmora.exe,0") &&
           value(kUninstallKey, "InstallLocation") == RegString(kDestination) &&
           value(kUninstallKey, "EstimatedSize") == Number(KilobytesOfTheProduct()) &&
           value(kUninstallKey, "NoModify") == Number(1) &&
           value(kUninstallKey, "NoRepair") == Number(1);
  }

  static std::uint32_t KilobytesOfTheProduct() {
    std::uint32_t bytes = 0;
    for (const auto& file : payload_test::TestProductFiles())
      bytes += static_cast<std::uint32_t>(file->size());
    return (bytes + 1023) / 1024;
  }

  // Program Manager's group, or the folder of links that the run makes where none answers.
  static bool GroupComplete(WizardHarness& h) {
    const auto& groups = h.backend.programManager.Groups();
    const auto group = groups.find("Pelmora");
    if (group != groups.end() && group->second.size() == 3) return true;
    const std::string folder = h.files.CommonProgramsFolder() + "\\Pelmora\\";
    for (const char* caption : {"Tarvo's Pelmora", "Pelmora Help", "Uninstall Pelmora"}) {
      if (!fs::is_regular_file(h.Host(folder + caption + ".lnk"))) return false;
    }
    return true;
  }

  Ending Judge(WizardHarness& h) {
    const std::vector<std::string> notNew = CheckFiles(h);
    const bool complete = notNew.empty() && RecordsComplete(h) && GroupComplete(h);
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

  static void CheckTemporaryFolder(WizardHarness& h) {
    for (const std::string& folder : h.RunFolders()) {
      EXPECT_TRUE(WasToldOf(h, folder)) << "the temporary folder stays without a word";
    }
  }

  int totalCalls_ = 0;
};

TEST_F(FaultSweep, EveryPlatformCallFailingOnceOrFromThenOnLosesNothingAndMisreportsNothing) {
  EXPECT_EQ(RunAndCheck([](auto&) {}, "no fault"), Ending::kComplete);
  const int calls = TotalCallsOfLastRun();
  ASSERT_GT(calls, 100);

  std::map<std::string, std::map<Ending, int>> endings;
  for (const bool persistent : {false, true}) {
    const std::string mode = persistent ? "from then on" : "once";
    for (int call = 1; call <= calls; ++call) {
      const Ending ending = RunAndCheck([&](auto& faults) { faults.FailAnyCall(call, persistent); },
                                        "call " + std::to_string(call) + " failing " + mode);
      ++endings[mode][ending];
      if (HasFailure()) return;  // the first point that breaks a rule is the one to look at
    }
  }
  std::printf("fault sweep over %d platform calls:\n", calls);
  for (const auto& [mode, counts] : endings) {
    for (const auto& [ending, count] : counts)
      std::printf("  failing %s: %d %s\n", mode.c_str(), count, NameOf(ending));
  }
}

}  // namespace
}  // namespace app_test
