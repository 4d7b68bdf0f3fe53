// The installation run: every item copied out of the setup file and expanded into the
// destination, the records written, the temporary folder removed, the program group
// created, and the window left in its finish state.
#include <limits>

#include "app/form1.h"
#include "payload/expand_files.h"
#include "payload/extract_payload_item.h"
#include "payload/payload_items.h"
#include "platform/failure.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "system/product_records.h"
#include "system/program_group.h"

namespace app {

namespace {

namespace Style = platform::MsgBoxStyle;
constexpr int kItemFailureStyle = Style::kSystemModal | Style::kExclamation;

// What the run says when an item other than the application fails, in run order.
struct ItemMessages {
  const char* extractionFailed;
  const char* expansionFailed;
};

constexpr ItemMessages kItemMessages[payload::kItemCount] = {
    {nullptr, nullptr},  // the application: its failure stops the run
    {"File 'Stop.wav' could not be extracted!", "File 'Stop.wav' could not be expanded!"},
    {"File 'Start.wav' could not be extracted!", "File 'Start.wav' could not be expanded!"},
    {"File 'Shot.wav' could not be extracted!", "File 'Shot.wav' could not be expanded!"},
    {"File 'Click.wav' could not be extracted!", "File 'Click.wav' could not be expanded!"},
    {"File 'Beep.wav' could not be extracted!", "File 'Beep.wav' could not be expanded!"},
    {"PLM uninstall file could not be extracted!", "PLM 'Uninstall' file could not be expanded!"},
    {"PLM help file could not be extracted!", "PLM help file could not be expanded!"},
};

std::int32_t AddSizes(std::int32_t a, std::int32_t b) {
  if (b > std::numeric_limits<std::int32_t>::max() - a) throw platform::PlatformFailure("Overflow");
  return a + b;
}

}  // namespace

void Form1::InstallProduct() {
  platform::Platform& platform = GetPlatform();
  platform::Toolkit& toolkit = platform.toolkit;

  Command1.SetEnabled(false);
  Command2.SetEnabled(false);
  Label11.SetCaption("Files are being copied into temporary folder and are being expanded into install directory...");

  std::string sourceFolder = platform::Trim(toolkit.AppPath());
  if (platform::EndsWith(sourceFolder, "\\")) sourceFolder.pop_back();
  const std::string sourcePath = sourceFolder + "\\" + toolkit.AppExeName() + ".exe";

  try {
    const std::string temporaryFolder = TemporaryFolder();
    if (!platform::Exists(platform.files, temporaryFolder, platform::Attribute::kDirectory)) {
      if (const int error = platform.files.MkDir(temporaryFolder)) {
        throw platform::PlatformFailure("The temporary folder " + temporaryFolder +
                                        " could not be created (system error " + std::to_string(error) + ").");
      }
    }

    std::int32_t bytesAfter = 0;
    for (std::size_t item = 0; item < payload::kItemCount; ++item) {
      const payload::ProductFile& file = payload::kProductFiles[item];
      const std::int32_t size = payload::kItemSizes[item];
      const std::string temporaryItem = temporaryFolder + "\\" + std::string(file.temporaryName);
      const bool isApplication = item == 0;

      Label12.SetCaption(std::string(file.temporaryName));
      Label12.Refresh();
      const bool extracted = payload::ExtractPayloadItem(platform, sourcePath, temporaryItem, size, bytesAfter);
      if (!extracted) {
        if (isApplication) return StopRun();
        toolkit.MsgBox(kItemMessages[item].extractionFailed, kItemFailureStyle, "Pelmora");
      }

      const std::string destination = state_.InstallDir.Trimmed() + "\\" + std::string(file.installedName);
      Label12.SetCaption(destination);
      toolkit.DoEvents();
      // What a failed extraction left behind is no item: expanding it would install an
      // empty or partial file over the one already there.
      if (!extracted || payload::ExpandFile(platform, temporaryItem, destination, /*showErrors=*/true) < 0) {
        if (isApplication) return StopRun();
        toolkit.MsgBox(kItemMessages[item].expansionFailed, kItemFailureStyle, "Pelmora");
      }
      bytesAfter = AddSizes(bytesAfter, size);
    }

    Label12.SetCaption("");
    Label12.Refresh();
    Label11.SetCaption("Registry settings are being done...");
    Label11.Refresh();
    integration::Registry registry(platform);
    integration::WriteProductRecords(registry, state_.InstallDir.Trimmed());
  } catch (const std::exception&) {
    // A platform failure ends the program; the temporary files go first.
    DeleteTempFolder();
    throw;
  }
  DeleteTempFolder();

  Label11.SetCaption("Shortcuts are being created...");
  Label11.Refresh();
  integration::CreateProgramGroup(Picture1.Link(), platform.files, state_.InstallDir.Trimmed());

  SetFocus();
  toolkit.DoEvents();
  SetFocus();

  Label11.SetCaption("Installation of Pelmora has been successfully completed! You can run PLM from the Start Menu.");
  Label11.Refresh();
  Command1.SetEnabled(false);
  Command3.SetEnabled(false);
  Command2.SetEnabled(true);
  Check1.SetVisible(true);
  Command2.SetCaption("Finish");
}

// The application item failed: nothing more can be installed.
void Form1::StopRun() {
  DeleteTempFolder();
  GetToolkit().EndProgram();
}

}  // namespace app
