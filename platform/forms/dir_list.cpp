#include "platform/forms/dir_list.h"

#include <algorithm>

#include "platform/forms/form.h"

namespace platform {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "c:" alone or followed by a blank, as a drive-list entry reads.
bool IsDrive(std::string_view text) {
  return text.size() >= 2 && IsLetter(text[0]) && text[1] == ':' &&
         (text.size() == 2 || text[2] == ' ');
}

// "C:\" and what follows it: the only paths the list holds.
bool IsDrivePath(std::string_view path) {
  return path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

// The path without a trailing backslash, except for a drive root.
std::string WithoutTrailingBackslash(std::string path) {
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

}  // namespace

DirList::DirList(Form& owner, std::string name, Control* container, const Bounds& bounds,
                 int tabIndex)
    : Control(owner, ControlKind::kDirList, std::move(name), container, bounds, tabIndex) {}

bool DirList::SetPath(std::string_view path) {
  FileSystem& files = Owner().GetPlatform().files;
  std::string full = WithoutTrailingBackslash(
      files.FullPath(std::string(IsDrive(path) ? path.substr(0, 2) : path)));
  // The list names a drive by its capital letter, whichever way the path was spelled.
  if (!full.empty() && full[0] >= 'a' && full[0] <= 'z')
    full[0] = static_cast<char>(full[0] - 'a' + 'A');
  std::vector<std::string> subfolders;
  if (!IsDrivePath(full) || !files.ListFolders(full, subfolders)) return false;
  const bool moved = full != path_;
  Show(full, subfolders);
  if (moved) Changed(Property::kValue);
  return true;
}

void DirList::Refresh() {
  std::vector<std::string> subfolders;
  if (path_.empty() || !Owner().GetPlatform().files.ListFolders(path_, subfolders)) return;
  Show(path_, subfolders);
}

void DirList::Show(std::string path, const std::vector<std::string>& subfolders) {
  path_ = std::move(path);
  entries_.clear();
  const std::string root = path_.substr(0, 3);
  entries_.push_back({root, root, 0});
  std::size_t start = 3;
  while (start < path_.size()) {
    const std::size_t end = std::min(path_.find('\\', start), path_.size());
    entries_.push_back({path_.substr(start, end - start), path_.substr(0, end),
                        static_cast<int>(entries_.size())});
    start = end + 1;
  }
  index_ = static_cast<int>(entries_.size()) - 1;
  const std::string parent = path_.size() > 3 ? path_ + "\\" : path_;
  for (const std::string& name : subfolders) entries_.push_back({name, parent + name, index_ + 1});
  Changed(Property::kList);
}

void DirList::UserOpen(int index) {
  if (!AcceptsInput() || index < 0 || index >= static_cast<int>(entries_.size())) return;
  const std::string path = entries_[index].path;
  if (!SetPath(path)) OpenFailed(path);
}

}  // namespace platform
