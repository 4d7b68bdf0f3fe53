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

// Removes the run's temporary folder and the files it made there. Whatever cannot be removed
// stays, and the user is told where it is.
void Form1::DeleteTempFolder() {
  Label11.SetCaption(kDeletingText);
  Label11.Refresh();
  if (RemoveTempFolder() != platform::SystemError::kSuccess) {
    GetToolkit().MsgBox("The temporary folder " + runFolder_.Path() +
                            " could not be removed! You can delete it yourself.",
                        Style::kSystemModal | Style::kExclamation, "Pelmora");
  }
}

// The files that the run made in its folder, then the folder; the system's code of the first
// failure. Nothing else in the temporary folder is touched, whoever put it there.
int Form1::RemoveTempFolder() { return runFolder_.Remove(); }

// A failure that ends the program takes the temporary folder with it, without a word more:
// the error report has been shown.
void Form1::RemoveTempFolderAfterFailure(void* wizard) {
  static_cast<Form1*>(wizard)->RemoveTempFolder();
}

}  // namespace app
