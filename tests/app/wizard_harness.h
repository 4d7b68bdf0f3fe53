#pragma once
// Runs the setup program on the portable platform, as a user would meet it: a machine with
// drives C and D, a temporary folder, the setup file in C:\Setup, and an empty registry.
// User actions go through the controls' own entry points and fail the test when the user
// could not have taken them (a disabled button, a hidden page).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/module1.h"
#include "platform/portable/portable_platform.h"
#include "tests/support/temp_folder.h"

namespace app_test {

class WizardHarness {
 public:
  WizardHarness();
  ~WizardHarness();

  platform::portable::PortablePlatform backend;
  platform::portable::PortableToolkit& toolkit = backend.toolkit;
  platform::portable::PortableFileSystem& files = backend.files;
  platform::portable::PortableRegistry& registry = backend.registry;

  // Builds the program (constructing it reads nothing yet) and runs Main.
  void Start();
  app::Module1& Program() { return *module1_; }
  app::Form1& Wizard() { return module1_->Wizard(); }
  app::SharedState& State() { return module1_->State(); }

  // A user action; the program may end inside it. One that goes past the fault plan's limit of
  // steps hangs: that fails the test, and the harness takes no more actions.
  void Act(const std::function<void()>& action);
  void Click(platform::CommandButton& button);
  void Click(platform::OptionButton& option);
  void Click(platform::CheckBox& box);
  void CloseWizard();
  bool Ended() const { return backend.toolkit.Ended(); }
  bool Hung() const { return hung_; }

  // Walks from page 1 to page 3, agreeing on page 2.
  void GoToDestinationPage();
  // The page whose frame is shown, 0 when none or more than one is.
  int ShownPage();

  // The host file or folder that a Windows path stands for.
  std::filesystem::path Host(const std::string& windowsPath) const;
  void MakeFolder(const std::string& windowsPath);
  void WriteFile(const std::string& windowsPath, const std::string& content);
  bool PathExists(const std::string& windowsPath) const;
  // The run's own folders in the temporary folder, by their Windows paths: one while the run
  // works, none before and after it.
  std::vector<std::string> RunFolders() const;
  // Whether the program group that the run makes itself, where no Program Manager answers,
  // holds its three links.
  bool HoldsOwnGroup();

  // The setup file: a program image followed by the test product's eight items.
  void WriteSetupFile(const std::string& windowsPath = "C:\\Setup\\setup.exe");

  // The host folder that holds the drives, removed with the harness.
  const std::filesystem::path& Root() const { return root_.path(); }

 private:
  payload_test::TempFolder root_;
  std::unique_ptr<app::Module1> module1_;
  bool acting_ = false;
  bool hung_ = false;
};

}  // namespace app_test
