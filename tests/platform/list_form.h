#pragma once
// A bare form that holds a folder list and a drive list, and helpers to find entries.
#include <string>

#include "platform/forms/dir_list.h"
#include "platform/forms/drive_list.h"
#include "platform/forms/form.h"

namespace ui_test {

class ListForm : public platform::Form {
 public:
  explicit ListForm(platform::Platform& platform)
      : Form(platform, "ListForm",
             platform::FormDesign{"Lists", platform::BorderStyle::kFixedDialog, 4000, 3000}),
        Dir1(*this, "Dir1", nullptr, platform::Bounds{240, 420, 2715, 1665}, 0),
        Drive1(*this, "Drive1", nullptr, platform::Bounds{240, 2220, 2715, 315}, 1) {}

  platform::DirList Dir1;
  platform::DriveList Drive1;
};

// The index of the drive list's entry for `letter`, or -1.
inline int EntryOf(const platform::DriveList& list, char letter) {
  for (int i = 0; i < static_cast<int>(list.Entries().size()); ++i) {
    if (list.Entries()[i].front() == letter) return i;
  }
  return -1;
}

// The index of the folder list's entry named `name`, or -1.
inline int EntryNamed(const platform::DirList& list, const std::string& name) {
  for (int i = 0; i < static_cast<int>(list.Entries().size()); ++i) {
    if (list.Entries()[i].name == name) return i;
  }
  return -1;
}

}  // namespace ui_test
