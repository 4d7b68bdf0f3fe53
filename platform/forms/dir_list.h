#pragma once
// The folder list: the open folder's path as an indented list of its folders from the
// drive root down, followed by the open folder's subfolders. A double-click opens the
// folder of an entry. It holds paths on drives only ("C:\Games"); it starts with none open.
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/controls.h"

namespace platform {

struct DirEntry {
  std::string name;  // "C:\" for the root, else the folder's name
  std::string path;  // the full path that the entry opens
  int level = 0;     // 0 for the root, one more for each folder below it
  friend bool operator==(const DirEntry&, const DirEntry&) = default;
};

class DirList : public Control {
 public:
  DirList(Form& owner, std::string name, Control* container, const Bounds& bounds, int tabIndex);

  // The open folder's full path; a drive root keeps its backslash ("C:\"). Empty at first.
  const std::string& Path() const { return path_; }
  // Opens a folder by its path, or a drive ("c:", or a drive-list entry "c: [SYSTEM]") at
  // that drive's current folder. False, with the list unchanged, when it cannot be opened.
  bool SetPath(std::string_view path);
  // Reads the open folder's subfolders again.
  void Refresh();

  const std::vector<DirEntry>& Entries() const { return entries_; }
  // The entry of the open folder, or -1 while none is open.
  int ListIndex() const { return index_; }

  // A double-click on an entry.
  void UserOpen(int index);
  // Raised with the path when a folder that the user opens cannot be opened.
  EventHandler<const std::string&> OpenFailed;

 private:
  void Show(std::string path, const std::vector<std::string>& subfolders);

  std::string path_;
  std::vector<DirEntry> entries_;
  int index_ = -1;
};

}  // namespace platform
