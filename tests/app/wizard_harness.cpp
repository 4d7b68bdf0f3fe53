#include "tests/app/wizard_harness.h"

#include <fstream>

#include "product/pelmora.h"
#include "tests/support/pe_image.h"
#include "tests/support/test_product.h"

namespace app_test {

namespace fs = std::filesystem;
using platform::portable::ProgramEnded;

WizardHarness::WizardHarness() {
  for (const char* drive : {"c", "d"}) fs::create_directories(root_ / drive);
  platform::portable::DriveSetup c;
  c.hostRoot = root_ / "c";
  c.label = "SYSTEM";
  files.MapDrive('C', c);
  platform::portable::DriveSetup d;
  d.hostRoot = root_ / "d";
  files.MapDrive('D', d);
  MakeFolder("C:\\Temp");
  MakeFolder("C:\\Setup");
  MakeFolder(files.CommonProgramsFolder());
  files.SetTempPath("C:\\Temp\\");
  toolkit.SetProgramFile("C:\\Setup\\setup.exe");
}

WizardHarness::~WizardHarness() { module1_.reset(); }

void WizardHarness::Start() {
  module1_ = std::make_unique<app::Module1>(backend.platform);
  Act([&] { module1_->Main(); });
}

void WizardHarness::Act(const std::function<void()>& action) {
  ASSERT_FALSE(Ended()) << "the program has already ended";
  ASSERT_FALSE(Hung()) << "the program hangs";
  if (acting_) {
    // An action inside an event pump of another: the end of the program must reach the
    // outermost one.
    action();
    return;
  }
  acting_ = true;
  try {
    action();
  } catch (const ProgramEnded&) {
  } catch (const platform::portable::StepLimitReached&) {
    hung_ = true;
    const auto& failed = backend.faults.Failed();
    ADD_FAILURE() << "the program hangs: it went on past its limit of platform calls, event "
                     "pumps and message boxes"
                  << (failed.empty() ? std::string()
                                     : ", after a fault of " +
                                           std::string(backend.faults.NameOf(failed.front())));
  }
  acting_ = false;
}

void WizardHarness::Click(platform::CommandButton& button) {
  ASSERT_TRUE(button.AcceptsInput())
      << button.Name() << " \"" << button.Caption() << "\" cannot be clicked";
  Act([&] { button.UserClick(); });
}

void WizardHarness::Click(platform::OptionButton& option) {
  ASSERT_TRUE(option.AcceptsInput()) << option.Name() << " cannot be clicked";
  Act([&] { option.UserClick(); });
}

void WizardHarness::Click(platform::CheckBox& box) {
  ASSERT_TRUE(box.AcceptsInput()) << box.Name() << " cannot be clicked";
  Act([&] { box.UserClick(); });
}

void WizardHarness::CloseWizard() {
  ASSERT_TRUE(Wizard().Visible()) << "the wizard is not shown";
  Act([&] { Wizard().UserClose(); });
}

void WizardHarness::GoToDestinationPage() {
  Click(Wizard().Command2);
  Click(Wizard().Option1);
  Click(Wizard().Command2);
  ASSERT_EQ(ShownPage(), 3);
}

int WizardHarness::ShownPage() {
  int shown = 0;
  for (int page = 1; page <= 4; ++page) {
    if (!Wizard().Frame1(page).Visible()) continue;
    if (shown != 0) return 0;
    shown = page;
  }
  return shown;
}

fs::path WizardHarness::Host(const std::string& windowsPath) const {
  const auto host = files.HostPath(windowsPath);
  EXPECT_TRUE(host.has_value()) << windowsPath;
  return host.value_or(fs::path());
}

void WizardHarness::MakeFolder(const std::string& windowsPath) {
  fs::create_directories(Host(windowsPath));
}

void WizardHarness::WriteFile(const std::string& windowsPath, const std::string& content) {
  std::ofstream(Host(windowsPath), std::ios::binary) << content;
}

void WizardHarness::WriteSetupFile(const std::string& windowsPath) {
  const std::vector<std::uint8_t> setupFile =
      payload_test::TestSetupFile(payload_test::PeImage(false, 4096));
  std::ofstream(Host(windowsPath), std::ios::binary)
      .write(reinterpret_cast<const char*>(setupFile.data()),
             static_cast<std::streamsize>(setupFile.size()));
}

bool WizardHarness::PathExists(const std::string& windowsPath) const {
  return fs::exists(Host(windowsPath));
}

bool WizardHarness::HoldsOwnGroup() {
  const std::string group = files.CommonProgramsFolder() + "\\" + product::kProgramGroup + "\\";
  for (const char* caption :
       {product::kTitle, product::kHelpCaption, product::kUninstallerCaption}) {
    if (!fs::is_regular_file(Host(group + caption + ".lnk"))) return false;
  }
  return true;
}

std::vector<std::string> WizardHarness::RunFolders() const {
  std::vector<std::string> folders;
  for (const auto& entry : fs::directory_iterator(Host("C:\\Temp"))) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("PLMTMP-", 0) == 0) folders.push_back("C:\\Temp\\" + name);
  }
  return folders;
}

}  // namespace app_test
