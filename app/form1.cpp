#include "app/form1.h"

#include <optional>
#include <string_view>

#include "app/free_space_check.h"
#include "integration/product_records.h"
#include "integration/registry.h"
#include "platform/services/file_system.h"
#include "platform/text/text.h"
#include "product/pelmora.h"
#include "setup_file/layout.h"
#include "ui/destination_length.h"
#include "ui/form3.h"
#include "ui/free_space.h"

namespace app {

namespace {

using platform::Bounds;
using Handler = platform::EventHandler<>;
namespace Style = platform::MsgBoxStyle;

constexpr char kAgreement[] =
    "THIS PROGRAM IS PROVIDED TO YOU FREE \r\n"
    "OF CHARGE, AND ON AN \"AS IS\" BASIS, \r\n"
    "WITHOUT ANY TECHNICAL SUPPORT AND \r\n"
    "WARRANTY OF ANY KIND. BY USING THE \r\n"
    "PROGRAM YOU AGREE TO BEAR ALL RISKS \r\n"
    "AND LIABILITIES ARISING FROM THE USE \r\n"
    "OF THE PROGRAM. THE AUTHOR SHALL \r\n"
    "NOT BE LIABLE FOR ANY DIRECT, \r\n"
    "INDIRECT, SPECIAL, INCIDENTAL OR \r\n"
    "CONSEQUENTIAL DAMAGES OR LOSS. \r\n"
    "THE AUTHOR HAS NO OBLIGATION TO \r\n"
    "PROVIDE MAINTENANCE, SUPPORT, \r\n"
    "UPDATES, ENHANCEMENTS, OR \r\n"
    "MODIFICATIONS.\r\n";

// "D:", "D:\" and the like.
bool IsDriveRoot(std::string_view path) {
  return (path.size() == 2 || (path.size() == 3 && (path[2] == '\\' || path[2] == '/'))) &&
         path[1] == ':';
}

}  // namespace

Form1::Form1(platform::Platform& platform, SharedState& state)
    : Form(platform, "Form1",
           {.caption = "Tarvo's Pelmora - Install",
            .border = platform::BorderStyle::kFixedSingle,
            .width = 5055,
            .height = 3165,
            .centred = true,
            .showsIcon = true}),
      pages_{platform::Frame(*this, "Frame1(1)", nullptr, Bounds{960, 0, 4035, 2655}, 5),
             platform::Frame(*this, "Frame1(2)", nullptr, Bounds{960, 0, 4035, 2655}, 15),
             platform::Frame(*this, "Frame1(3)", nullptr, Bounds{960, 60, 4035, 2595}, 7),
             platform::Frame(*this, "Frame1(4)", nullptr, Bounds{960, 60, 4035, 2595}, 11)},
      Frame2(*this, "Frame2", nullptr, Bounds{60, 0, 795, 3075}, 0),
      Picture1(*this, "Picture1", &Frame2, Bounds{120, 180, 555, 555}, 1),
      Image1(*this, "Image1", &Picture1, Bounds{15, 15, 435, 435}),
      Command1(*this, "Command1", nullptr, Bounds{3120, 2760, 855, 315}, 2, "<< Back"),
      Command2(*this, "Command2", nullptr, Bounds{4080, 2760, 855, 315}, 3, "Next >>"),
      Command3(*this, "Command3", nullptr, Bounds{960, 2760, 855, 315}, 4, "Cancel"),
      Label1(*this, "Label1", &Frame1(1), Bounds{120, 240, 3795, 975}, 6),
      Label9(*this, "Label9", &Frame1(3), Bounds{180, 240, 3735, 615}, 8),
      Command4(*this, "Command4", &Frame1(3), Bounds{2160, 2160, 1755, 315}, 9, "Change Dir"),
      Label10(*this, "Label10", &Frame1(3), Bounds{180, 1200, 3795, 435}, 10),
      Label11(*this, "Label11", &Frame1(4), Bounds{120, 240, 3795, 855}, 12),
      Label12(*this, "Label12", &Frame1(4), Bounds{120, 1080, 3555, 555}, 13,
              platform::Alignment::kCentre),
      Check1(*this, "Check1", &Frame1(4), Bounds{1980, 2220, 1815, 195}, 14, "Run PLM now."),
      Label3(*this, "Label3", &Frame1(2), Bounds{180, 240, 3735, 315}, 16),
      Text1(*this, "Text1", &Frame1(2), Bounds{120, 540, 3795, 1515}, 17, kAgreement),
      Option1(*this, "Option1", &Frame1(2), Bounds{180, 2100, 3495, 195}, 18, "Yes I Agree."),
      Option2(*this, "Option2", &Frame1(2), Bounds{180, 2340, 3675, 195}, 19, "No I Do Not Agree."),
      state_(state),
      runFolder_(platform.files) {
  // The design state is that of page 1.
  for (int page = 2; page <= 4; ++page) Frame1(page).SetVisible(false);
  Command1.SetEnabled(false);
  Check1.SetVisible(false);
  Label1.SetCaption(
      "Pelmora is going to be installed in your computer. Please click on the 'Next' button for "
      "determining a directory.");
  Label9.SetCaption(
      "Click on the 'Next' button for installing Pelmora into the following directory :");
  Label3.SetCaption("Please read before you continue :");

  Command1.Click = Handler::Bind<&Form1::Command1_Click>(this);
  Command2.Click = Handler::Bind<&Form1::Command2_Click>(this);
  Command3.Click = Handler::Bind<&Form1::Command3_Click>(this);
  Command4.Click = Handler::Bind<&Form1::Command4_Click>(this);
  Option1.Click = Handler::Bind<&Form1::Option1_Click>(this);
  Option2.Click = Handler::Bind<&Form1::Option2_Click>(this);
}

Form1::~Form1() { GetToolkit().SetFailureCleanUp({}); }

void Form1::Form_Load() {
  platform::Platform& platform = GetPlatform();

  // The temporary path, however long the system's is, without its trailing "\".
  std::string tempPath = platform::Trim(platform.files.TempPath());
  if (platform::EndsWith(tempPath, "\\")) tempPath.pop_back();
  state_.TempDir = tempPath;
  platform.toolkit.SetFailureCleanUp({&Form1::RemoveTempFolderAfterFailure, this});

  // The items are read from this file later: it is held from now on, before any page shows.
  int error = 0;
  setupFile_ =
      platform.files.Open(platform.toolkit.ProgramFile(), platform::ChannelMode::kRead, error);

  // The destination of an earlier installation, when its folder still exists.
  integration::Registry registry(platform);
  const integration::SubkeyList subkeys =
      registry.EnumRegKeys(platform::kHKeyLocalMachine, product::kVendorKey);
  if (subkeys.status == integration::kListed) {
    for (const std::string& name : subkeys.names) {
      if (name != "PLM") continue;
      state_.InstallDir = registry.GetRegString(platform::kHKeyLocalMachine, product::kProductKey,
                                                product::kDestinationValue, kDefaultInstallDir);
      // A drive root is no destination the wizard would have recorded.
      const std::string earlier = state_.InstallDir.Trimmed();
      if (IsDriveRoot(earlier) ||
          !platform::Exists(platform.files, earlier, platform::Attribute::kDirectory)) {
        state_.InstallDir = kDefaultInstallDir;
      }
      break;
    }
  } else {
    state_.InstallDir = kDefaultInstallDir;
  }
  if (state_.InstallDir.IsUnassigned() || state_.InstallDir.Trimmed().empty()) {
    state_.InstallDir = kDefaultInstallDir;
  }

  state_.CurrentPage = 1;
  Image1.SetPictureToIcon();
  ShowDestination();
}

void Form1::ShowDestination() { Label10.SetCaption(state_.InstallDir.Trimmed()); }

void Form1::ShowPage() {
  for (int page = 1; page <= 4; ++page) Frame1(page).SetVisible(false);
  switch (state_.CurrentPage) {
    case 1:
      Command2.SetEnabled(true);
      Frame1(1).SetVisible(true);
      break;
    case 2:
      Option1.SetValue(false);
      Option2.SetValue(false);
      Command2.SetEnabled(false);
      Frame1(2).SetVisible(true);
      break;
    case 3:
      Command2.SetEnabled(true);
      Frame1(3).SetVisible(true);
      break;
    case 4:
      if (!PrepareDestination()) {
        state_.CurrentPage = 3;
        Frame1(3).SetVisible(true);
        return;
      }
      Frame1(4).SetVisible(true);
      InstallProduct();
      break;
    default:
      break;
  }
}

// Makes sure the destination can take the run: short enough for every path in it, there
// already (the default one is created), with room enough. Tells the user and returns false
// otherwise.
bool Form1::PrepareDestination() {
  platform::FileSystem& files = GetPlatform().files;
  const std::string destination = state_.InstallDir.Trimmed();
  if (!ui::AcceptDestinationLength(GetToolkit(), destination)) return false;
  const bool exists = platform::Exists(files, destination, platform::Attribute::kDirectory);
  if (!exists && destination != kDefaultInstallDir) {
    GetToolkit().MsgBox(destination + " could not be found!", Style::kExclamation, "Error");
    return false;
  }
  if (!HasRoomFor(destination)) return false;
  if (exists) return true;
  for (const char* folder : {kDefaultInstallParent, kDefaultInstallDir}) {
    if (platform::Exists(files, folder, platform::Attribute::kDirectory)) continue;
    if (files.MkDir(folder) != platform::SystemError::kSuccess) {
      GetToolkit().MsgBox(std::string(folder) + " could not be created!", Style::kExclamation,
                          "Error");
      return false;
    }
  }
  return true;
}

// The destination drive must take the run at its fullest: each new file stands beside the
// one it replaces until it is whole. A drive that cannot tell its free space is not held up.
bool Form1::HasRoomFor(const std::string& destination) {
  const std::optional<SpaceShortfall> shortfall = FindSpaceShortfall(
      GetPlatform().files, destination, state_.TempDir.Trimmed(), setup_file::kItemTable);
  if (!shortfall) return true;
  const std::string separator = GetToolkit().ThousandsSeparator();
  const auto kilobytes = [&](std::int32_t figure) {
    return figure == 0 ? std::string("0") : ui::GroupThousands(figure, separator);
  };
  std::string text = "There is not enough free space on drive ";
  text += shortfall->drive;
  text += " to install Pelmora.\rIt needs ";
  text += kilobytes(shortfall->neededKB);
  text += " KB; ";
  text += kilobytes(shortfall->freeKB);
  text += " KB are free.";
  GetToolkit().MsgBox(text, Style::kExclamation, "Warning");
  return false;
}

void Form1::Command1_Click() {
  if (state_.CurrentPage != 1) {
    --state_.CurrentPage;
    ShowPage();
    if (state_.CurrentPage != 1) return;
  }
  Command1.SetEnabled(false);
}

void Form1::Command2_Click() {
  if (Command2.Caption() == "Finish") {
    Unload();
    return;
  }
  if (state_.CurrentPage != 4) {
    ++state_.CurrentPage;
    ShowPage();
  }
  if (Command2.Caption() != "Finish" && state_.CurrentPage > 1) Command1.SetEnabled(true);
}

void Form1::Command3_Click() { Unload(); }

void Form1::Command4_Click() {
  SetVisible(false);
  // The chooser is made afresh each time, on the destination of that moment.
  form3_ = std::make_unique<ui::Form3>(GetPlatform(), state_.InstallDir);
  form3_->Closed = Handler::Bind<&Form1::Form3_Closed>(this);
  form3_->Show();
}

// As it closes, the chooser hands back the folder that the user confirmed, or nothing.
void Form1::Form3_Closed() {
  if (const std::optional<std::string>& folder = form3_->Choice()) {
    state_.InstallDir = *folder;
    ShowDestination();
  }
  SetVisible(true);
}

void Form1::Option1_Click() { Command2.SetEnabled(true); }

void Form1::Option2_Click() { Command2.SetEnabled(false); }

}  // namespace app
