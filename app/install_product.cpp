// The installation run: every item copied out of the setup file and installed whole in the
// destination, the records written, the temporary folder removed, the program group
// created, and the window left in its finish state with a text that tells what was done.
#include "app/form1.h"
#include "app/run_outcome.h"
#include "integration/product_records.h"
#include "integration/program_group.h"
#include "payload/extract_payload_item.h"
#include "payload/install_item.h"
#include "payload/payload_bounds.h"
#include "platform/services/file_system.h"
#include "product/pelmora.h"
#include "setup_file/layout.h"

namespace app {

namespace {

namespace Style = platform::MsgBoxStyle;
constexpr int kRunMessageStyle = Style::kSystemModal | Style::kExclamation;

// Where the run meets the files it treats apart from the others.
constexpr std::size_t kApplication = 0;
constexpr std::size_t kUninstaller = 6;
constexpr std::size_t kHelp = 7;
static_assert(product::kProductFiles[kApplication].installedName == product::kApplicationFile);
static_assert(product::kProductFiles[kUninstaller].installedName == product::kUninstallerFile);
static_assert(product::kProductFiles[kHelp].installedName == product::kHelpFile);

// The uninstaller's path after its folder, whole: one string for the image.
constexpr char kUninstallerInFolder[] = "\\Uninstall PLM.exe";
static_assert(std::string_view(kUninstallerInFolder).substr(1) == product::kUninstallerFile);

// What the run says when an item other than the application fails, in run order.
struct ItemMessages {
  const char* extractionFailed;
  const char* expansionFailed;
};

constexpr ItemMessages kItemMessages[setup_file::kItemCount] = {
    {nullptr, nullptr},  // the application: its failure stops the run
    {"File 'Stop.wav' could not be extracted!", "File 'Stop.wav' could not be expanded!"},
    {"File 'Start.wav' could not be extracted!", "File 'Start.wav' could not be expanded!"},
    {"File 'Shot.wav' could not be extracted!", "File 'Shot.wav' could not be expanded!"},
    {"File 'Click.wav' could not be extracted!", "File 'Click.wav' could not be expanded!"},
    {"File 'Beep.wav' could not be extracted!", "File 'Beep.wav' could not be expanded!"},
    {"PLM uninstall file could not be extracted!", "PLM 'Uninstall' file could not be expanded!"},
    {"PLM help file could not be extracted!", "PLM help file could not be expanded!"},
};

constexpr char kDamagedSetupFile[] =
    "The setup file is damaged! Nothing has been installed. Please get a new copy of the setup "
    "program.";

// After a failure of the application that nothing has told.
std::string ApplicationNotInstalled(bool destinationFull) {
  std::string text = "File 'Pelmora.exe' could not be installed";
  text += destinationFull ? ": the destination drive is full!" : "!";
  return text + " The installation has stopped; no file has been changed.";
}

}  // namespace

void Form1::InstallProduct() {
  platform::Platform& platform = GetPlatform();
  platform::Toolkit& toolkit = platform.toolkit;

  Command1.SetEnabled(false);
  Command2.SetEnabled(false);
  Label11.SetCaption(
      "Files are being copied into temporary folder and are being expanded into install "
      "directory...");

  // A setup file that does not hold exactly the items it was built with would install
  // wrong bytes: nothing is taken from it.
  setup_file::ItemPlaces places;
  if (!setupFile_ || !setup_file::PlaceItems(setup_file::kItemTable, places) ||
      !payload::SetupFileIsWhole(*setupFile_, places.payloadLength)) {
    return StopRun(kDamagedSetupFile);
  }

  if (const int error = runFolder_.Make(state_.TempDir.Trimmed());
      error != platform::SystemError::kSuccess) {
    return StopRun("A temporary folder could not be created in " + state_.TempDir.Trimmed() +
                   "! Nothing has been installed.");
  }

  const std::string directory = state_.InstallDir.Trimmed();
  RunOutcome outcome;
  bool installed[setup_file::kItemCount] = {};
  std::uint64_t installedBytes = 0;  // of the files this run installed
  for (std::size_t item = 0; item < setup_file::kItemCount; ++item) {
    const product::ProductFile& file = product::kProductFiles[item];
    // A failure of the application is told by the step that failed, and stops the run; any
    // other item's is told by the run's own message for it alone.
    const bool application = item == kApplication;

    Label12.SetCaption(std::string(file.temporaryName));
    Label12.Refresh();
    platform::FileChannel* const extracted = payload::ExtractPayloadItem(
        platform, *setupFile_, runFolder_, std::string(file.temporaryName),
        setup_file::kItemTable[item].size, places.bytesAfter[item], application);
    if (extracted == nullptr) {
      if (application) return StopRun("");
      toolkit.MsgBox(kItemMessages[item].extractionFailed, kRunMessageStyle, "Pelmora");
    }

    const std::string destination = directory + "\\" + std::string(file.installedName);
    Label12.SetCaption(destination);
    toolkit.DoEvents();
    // What a failed extraction left behind is no item: the installed file stays as it is.
    payload::ItemInstallation installation;
    if (extracted != nullptr) {
      installation = payload::InstallItem(platform, *extracted, destination,
                                          setup_file::kItemTable[item], application);
      if (!installation.installed) {
        if (application) {
          return StopRun(installation.told ? ""
                                           : ApplicationNotInstalled(installation.destinationFull));
        }
        toolkit.MsgBox(kItemMessages[item].expansionFailed, kRunMessageStyle, "Pelmora");
      }
    }
    installed[item] = installation.installed;
    if (installation.installed) {
      installedBytes += setup_file::kItemTable[item].expandedLength;
    } else {
      outcome.FileNotInstalled(file.installedName);
    }
  }

  Label12.SetCaption("");
  Label12.Refresh();
  Label11.SetCaption("Registry settings are being done...");
  Label11.Refresh();
  // The uninstall entry runs the uninstaller: it is written only when there is one to run.
  const bool uninstallerInPlace =
      installed[kUninstaller] || platform::Exists(platform.files, directory + kUninstallerInFolder,
                                                  platform::Attribute::kNormal);
  integration::Registry registry(platform);
  const integration::RecordsWritten records =
      integration::WriteProductRecords(registry, directory, installedBytes, uninstallerInPlace);
  if (!records.productKey) outcome.RecordsNotWritten();
  if (!records.uninstallEntry) outcome.UninstallEntryNotWritten();

  DeleteTempFolder();

  Label11.SetCaption("Shortcuts are being created...");
  Label11.Refresh();
  const std::vector<std::string> missingItems = integration::CreateProgramGroup(
      Picture1.Link(), platform.files, directory,
      {.help = installed[kHelp], .uninstaller = installed[kUninstaller]});
  if (!missingItems.empty()) {
    std::string text = "These items could not be added to the Start Menu group Pelmora:";
    for (const std::string& caption : missingItems) text += "\r" + caption;
    toolkit.MsgBox(text, kRunMessageStyle, "Pelmora");
    outcome.GroupItemsMissing(missingItems.size());
  }

  SetFocus();
  toolkit.DoEvents();
  SetFocus();

  Label11.SetCaption(outcome.FinishText());
  Label11.Refresh();
  Command1.SetEnabled(false);
  Command3.SetEnabled(false);
  Command2.SetEnabled(true);
  Check1.SetVisible(true);
  Command2.SetCaption("Finish");
}

// Nothing more can be installed: the user is told why (unless `reason` is empty, where the
// step that failed has told it), the temporary files go, and the program ends.
void Form1::StopRun(const std::string& reason) {
  if (!reason.empty()) GetToolkit().MsgBox(reason, kRunMessageStyle, "Pelmora");
  DeleteTempFolder();
  GetToolkit().EndProgram();
}

}  // namespace app
