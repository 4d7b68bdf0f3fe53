#pragma once
// The drive list: a drop-down list of the machine's drives, one entry each ("c:", or
// "c: [SYSTEM]" for a drive with a volume label). It starts with no drive selected.
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/controls.h"

namespace platform {

class DriveList : public Control {
 public:
  DriveList(Form& owner, std::string name, Control* container, const Bounds& bounds, int tabIndex);

  // The entry text of the selected drive; empty while none is selected.
  std::string Drive() const;
  // Selects the drive named by the text's first letter ("c:", "C:\Games", "c: [SYSTEM]").
  // When that changes the selection, Change runs before this returns. False, with the
  // selection kept, when the list holds no such drive.
  bool SetDrive(std::string_view drive);

  // Every drive present when the list was made, from A to Z.
  const std::vector<std::string>& Entries() const { return entries_; }
  // The selected entry, or -1.
  int ListIndex() const { return index_; }

  EventHandler<> Change;
  // A pick from the drop-down list; ignored unless the list accepts input.
  void UserPick(int index);

 private:
  std::vector<std::string> entries_;
  int index_ = -1;
};

}  // namespace platform
