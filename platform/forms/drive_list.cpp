#include "platform/forms/drive_list.h"

#include "platform/forms/form.h"

namespace platform {

namespace {

char LowerLetter(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// "c:", followed by the volume label in brackets when the drive has one.
std::string EntryText(FileSystem& files, char letter) {
  std::string entry{letter, ':'};
  const std::string label = files.VolumeLabel(entry + "\\");
  if (!label.empty()) entry += " [" + label + "]";
  return entry;
}

}  // namespace

DriveList::DriveList(Form& owner, std::string name, Control* container, const Bounds& bounds,
                     int tabIndex)
    : Control(owner, ControlKind::kDriveList, std::move(name), container, bounds, tabIndex) {
  FileSystem& files = owner.GetPlatform().files;
  const std::uint32_t present = files.LogicalDrives();
  for (int drive = 0; drive < 26; ++drive) {
    if (((present >> drive) & 1u) != 0)
      entries_.push_back(EntryText(files, static_cast<char>('a' + drive)));
  }
  Changed(Property::kList);
}

std::string DriveList::Drive() const { return index_ < 0 ? std::string() : entries_[index_]; }

bool DriveList::SetDrive(std::string_view drive) {
  if (drive.empty()) return false;
  const char letter = LowerLetter(drive.front());
  for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
    if (entries_[i].front() != letter) continue;
    if (i != index_) {
      index_ = i;
      Changed(Property::kValue);
      Change();
    }
    return true;
  }
  return false;
}

void DriveList::UserPick(int index) {
  if (!AcceptsInput() || index < 0 || index >= static_cast<int>(entries_.size())) return;
  SetDrive(entries_[index]);
}

}  // namespace platform
