#include "app/run_outcome.h"

#include <utility>

namespace app {

void RunOutcome::GroupItemsMissing(const std::vector<std::string>& captions) {
  if (captions.empty()) return;
  std::string items = captions.size() == 1 ? "the Start Menu item " : "the Start Menu items ";
  for (std::size_t i = 0; i < captions.size(); ++i) items += (i == 0 ? "" : ", ") + captions[i];
  missing_.push_back(std::move(items));
}

std::string RunOutcome::FinishText() const {
  if (Complete()) {
    return "Installation of Pelmora has been successfully completed! You can run PLM from the "
           "Start Menu.";
  }
  std::string text = "Installation of Pelmora has finished with errors. Missing: ";
  for (std::size_t i = 0; i < missing_.size(); ++i) text += (i == 0 ? "" : "; ") + missing_[i];
  return text + ".";
}

}  // namespace app
