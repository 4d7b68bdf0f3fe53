#include "ui/form3.h"

#include <utility>

#include "platform/services/file_system.h"
#include "platform/text/text.h"
#include "ui/destination_length.h"
#include "ui/free_space.h"

namespace ui {

namespace {

using platform::Bounds;
using Handler = platform::EventHandler<>;
using platform::Trim;
namespace Style = platform::MsgBoxStyle;

constexpr int kDriveRefusalStyle = Style::kSystemModal | Style::kExclamation;  // 4144
constexpr int kInputRefusalStyle = Style::kExclamation;                        // 48
constexpr double kLeastFreeKB = 500000.0 / 1024;  // 500,000 bytes: 488.28125 KB
constexpr char kInvalidNameCharacters[] = "\\*?,:";

// The root of a drive-list entry or a path: "c: [SYSTEM]" and "c:\Games" give "c:\".
std::string RootText(std::string_view drive) {
  std::string root = Trim(platform::LeftChars(drive, 3));
  if (!platform::EndsWith(root, "\\")) root = Trim(root) + "\\";
  return root;
}

std::string NotFound(const std::string& root) {
  return Trim(platform::LeftChars(root, 3)) + " couldn't be found!";
}

// The message that refuses the drive of `root`, or nothing for a drive that will do.
std::string DriveRefusal(platform::FileSystem& files, const std::string& root) {
  namespace Kind = platform::DriveKind;
  switch (files.DriveType(Trim(platform::LeftChars(root, 3)))) {
    case Kind::kUnknown:
      return NotFound(root);
    case Kind::kRemovable:
      return "Pelmora can not be installed into a diskette driver.";
    case Kind::kRemote:
      return "Pelmora can not be installed into a network driver.";
    case Kind::kCdRom:
      return "Pelmora can not be installed into a CD driver.";
    case Kind::kRamDisk:
      return "Pelmora can not be installed into a RAM driver.";
    default:
      return {};
  }
}

}  // namespace

Form3::Form3(platform::Platform& platform, const platform::FixedText& destination)
    : Form(platform, "Form3",
           // The program has one icon, the wizard's, and the chooser shows it from its creation.
           {.caption = "Pelmora",
            .border = platform::BorderStyle::kFixedDialog,
            .width = 4605,
            .height = 2835,
            .centred = true,
            .showsIcon = true}),
      Dir1(*this, "Dir1", nullptr, Bounds{240, 420, 2715, 1665}, 0),
      Drive1(*this, "Drive1", nullptr, Bounds{240, 2220, 2715, 315}, 1),
      Command1(*this, "Command1", nullptr, Bounds{3240, 1740, 1155, 315}, 2, ""),
      Command2(*this, "Command2", nullptr, Bounds{3240, 2220, 1155, 315}, 3, ""),
      Label1(*this, "Label1", nullptr, Bounds{240, 120, 3075, 195}, 4),
      Label2(*this, "Label2", nullptr, Bounds{3060, 1080, 1455, 195}, 5),
      Label3(*this, "Label3", nullptr, Bounds{3000, 1380, 1575, 195}, 6,
             platform::Alignment::kCentre),
      start_(destination.Trimmed()) {
  Drive1.Change = Handler::Bind<&Form3::Drive1_Change>(this);
  Dir1.OpenFailed = platform::EventHandler<const std::string&>::Bind<&Form3::ReportUnopened>(this);
  Command1.Click = Handler::Bind<&Form3::Command1_Click>(this);
  Command2.Click = Handler::Bind<&Form3::Command2_Click>(this);
}

void Form3::Form_Load() {
  // The icon is the design's.
  Label1.SetCaption("Select a destination for Pelmora");
  Label2.SetCaption("Free Space in Drive");
  Command1.SetCaption("&New Folder");
  Command2.SetCaption("&Ok");
  // A destination that is gone starts the chooser on drive C; the wizard keeps its own.
  if (!platform::Exists(GetPlatform().files, start_, platform::Attribute::kDirectory)) {
    start_ = "c:";
  }
  SelectDrive(platform::LeftChars(start_, 2));
  OpenFolder(start_);
  const std::string drive = Drive1.Drive();
  if (drive == "b:" || drive == "a:") SelectDrive("c:");
  ShowFreeSpace();
}

// Entered again from within itself when it refuses a drive: the inner run handles drive C,
// then this one finishes for drive C as well.
void Form3::Drive1_Change() {
  const std::string refusal = DriveRefusal(GetPlatform().files, RootText(Drive1.Drive()));
  if (!refusal.empty()) {
    GetToolkit().MsgBox(refusal, kDriveRefusalStyle, "Driver");
    if (!SelectDrive("c:")) return;
  }
  if (!OpenFolder(Drive1.Drive())) ReturnToShownFolder();
  ShowFreeSpace();
}

void Form3::Command1_Click() {
  const std::string path = Dir1.Path();
  const std::string parent = platform::EndsWith(path, "\\") ? path : path + "\\";
  const std::string name =
      GetToolkit().InputBox("Enter a name for new folder :\r\r" + parent, "New Folder", "");
  if (Trim(name).empty()) return;
  if (name.find_first_of(kInvalidNameCharacters) != std::string::npos) {
    GetToolkit().MsgBox("Characters, like '\\*?,:' are invalid.", kInputRefusalStyle,
                        "Invalid Characters");
    return;
  }
  const std::string newPath = parent + Trim(name);
  platform::FileSystem& files = GetPlatform().files;
  if (files.GetAttributes(newPath) == platform::Attribute::kNoEntry &&
      files.MkDir(newPath) != platform::SystemError::kSuccess) {
    ReportFailure(newPath + " could not be created!");
    return;
  }
  OpenFolder(newPath);
  Dir1.Refresh();
}

void Form3::Command2_Click() {
  if (kLeastFreeKB > GetFreeSpaceKB()) {
    GetToolkit().MsgBox(
        "Space in drive is less than 500.000 bytes.\rYou need more space to install Pelmora.",
        kInputRefusalStyle, "Warning");
    return;
  }
  // A drive root is never taken: the earlier destination stays.
  if (std::string path = Trim(Dir1.Path()); path.size() > 3) {
    if (path.back() == '\\') path.pop_back();
    if (!AcceptDestinationLength(GetToolkit(), path)) return;
    choice_.emplace(std::move(path));
  }
  Unload();
}

// However the chooser closes ("&Ok", the close box, the session's end), it hands back its
// choice once.
void Form3::Form_Unload(std::int16_t& /*cancel*/) { Closed(); }

std::int32_t Form3::GetFreeSpaceKB() {
  platform::DiskSpace space;
  if (!GetPlatform().files.DiskFreeSpace(platform::LeftChars(Dir1.Path(), 3), space)) return 0;
  return FreeKilobytes(space);
}

void Form3::ShowFreeSpace() {
  Label3.SetCaption(GroupThousands(GetFreeSpaceKB(), GetToolkit().ThousandsSeparator()) + " KB");
}

// Moves the drive list. A drive that is not there is reported as one whose type cannot be
// determined, and the drive list goes back to the folder shown.
bool Form3::SelectDrive(const std::string& drive) {
  if (Drive1.SetDrive(drive)) return true;
  GetToolkit().MsgBox(NotFound(RootText(drive)), kDriveRefusalStyle, "Driver");
  ReturnToShownFolder();
  return false;
}

bool Form3::OpenFolder(const std::string& path) {
  if (Dir1.SetPath(path)) return true;
  ReportUnopened(path);
  return false;
}

// After a drive could not be used, the drive list goes back to the drive of the folder
// shown, so that both lists agree and the failed drive can be picked again. Going back
// runs Drive1_Change, which opens that drive's current folder; the folder shown is then
// opened again. A drive that would be refused is left alone, so this cannot bounce.
void Form3::ReturnToShownFolder() {
  const std::string shown = Dir1.Path();
  if (shown.empty() || !DriveRefusal(GetPlatform().files, RootText(shown)).empty()) return;
  Drive1.SetDrive(shown);
  OpenFolder(shown);
}

void Form3::ReportUnopened(const std::string& path) {
  ReportFailure(Trim(path) + " could not be opened!");
}

void Form3::ReportFailure(const std::string& text) {
  GetToolkit().MsgBox(text, kInputRefusalStyle, "Error");
}

}  // namespace ui
