#pragma once
// What an installation run could not do, gathered as it goes, and the text that ends it: the
// success text only when everything was done, otherwise a text that names what is missing,
// short enough for the wizard's label when everything but the application is.
#include <string>
#include <string_view>
#include <vector>

namespace app {

class RunOutcome {
 public:
  void FileNotInstalled(std::string_view installedName) {
    missing_.push_back(std::string(installedName));
  }
  void RecordsNotWritten() { missing_.push_back("registry records"); }
  void UninstallEntryNotWritten() { missing_.push_back("uninstall entry"); }
  // Their captions have been told; the finish text tells only whether there is more than one.
  void GroupItemsMissing(std::size_t count) {
    if (count > 0) missing_.push_back(count == 1 ? "Start Menu item" : "Start Menu items");
  }

  bool Complete() const { return missing_.empty(); }
  std::string FinishText() const;

 private:
  std::vector<std::string> missing_;
};

}  // namespace app
