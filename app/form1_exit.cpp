// The ways out of the wizard: "Cancel", the close box and "Finish" all unload the window,
// and its unload handler decides how the program ends.
#include "app/form1.h"
#include "platform/services/file_system.h"

namespace app {

namespace {
namespace Style = platform::MsgBoxStyle;
constexpr char kDeletingText[] = "Temporary files are being deleted...";
}  // namespace

void Form1::Form_Unload(std::int16_t& cancel) {
  if (Command2.Caption() == "Finish") {
    if (Check1.Value() == 1) StartApplication();
    GetToolkit().EndProgram();
  }
  const int answer = GetToolkit().MsgBox(
      "Do you want to cancel the installation?",
      Style::kSystemModal | Style::kQuestion | Style::kYesNo | Style::kDefaultButton2, "Pelmora");
  if (answer == platform::kNo) {
    cancel = -1;
    return;
  }
  Label11.SetCaption(kDeletingText);
  Label11.Refresh();
  DeleteTempFolder();
  GetToolkit().EndProgram();
}

// The setup's administrator rights never pass to the application: where it could only have
// started with them, the user is told where to start it.
void Form1::StartApplication() {
  const std::string application = state_.InstallDir.Trimmed() + "\\Pelmora.exe";
  switch (GetToolkit().StartProgram(application)) {
    case platform::StartResult::kStarted:
      break;
    case platform::StartResult::kFailed:
      GetToolkit().MsgBox(application + " could not be started!", Style::kExclamation, "Error");
      break;
    case platform::StartResult::kOnlyElevated:
      GetToolkit().MsgBox(
          "PLM has not been started. Please start it from the Start Menu: Tarvo's Pelmora in "
          "the group Pelmora.",
          Style::kExclamation, "Pelmora");
      break;
  }
}

// Removes the temporary folder and what it holds. Whatever cannot be removed stays, and the
// user is told where it is.
void Form1::DeleteTempFolder() {
  Label11.SetCaption(kDeletingText);
  Label11.Refresh();
  const int removal = RemoveTempFolder();
  namespace SystemError = platform::SystemError;
  if (removal != SystemError::kSuccess && removal != SystemError::kFileNotFound &&
      removal != SystemError::kPathNotFound) {
    GetToolkit().MsgBox("The temporary folder " + TemporaryFolder() +
                            " could not be removed. You can delete it yourself.",
                        Style::kSystemModal | Style::kExclamation, "Pelmora");
  }
}

// What the temporary folder holds, then the folder; the system's code of the removal.
int Form1::RemoveTempFolder() const {
  platform::FileSystem& files = GetPlatform().files;
  const std::string folder = TemporaryFolder();
  files.Kill(folder + "\\*.*");
  return files.RmDir(folder);
}

// A failure that ends the program takes the temporary folder with it, without a word more:
// the error report has been shown.
void Form1::RemoveTempFolderAfterFailure(void* wizard) {
  static_cast<Form1*>(wizard)->RemoveTempFolder();
}

}  // namespace app
