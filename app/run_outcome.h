#pragma once
// What an installation run could not do, gathered as it goes, and the text that ends it: the
// success text only when everything was done, otherwise a text that names what is missing.
#include <string>
#include <string_view>
#include <vector>

namespace app {

class RunOutcome {
 public:
  void FileNotInstalled(std::string_view installedName) {
    missing_.push_back(std::string(installedName));
  }
  void RecordsNotWritten() { missing_.push_back("the registry records"); }
  void UninstallEntryNotWritten() {
    missing_.push_back("the entry in the list of installed programs");
  }
  void GroupItemsMissing(const std::vector<std::string>& captions);

  bool Complete() const { return missing_.empty(); }
  std::string FinishText() const;

 private:
  std::vector<std::string> missing_;
};

}  // namespace app
