#include "app/run_outcome.h"

namespace app {

std::string RunOutcome::FinishText() const {
  if (Complete()) {
    return "Installation of Pelmora has been successfully completed! You can run PLM from the "
           "Start Menu.";
  }
  std::string text = "Finished with errors. Missing: ";
  for (std::size_t i = 0; i < missing_.size(); ++i) text += (i == 0 ? "" : ", ") + missing_[i];
  return text + ".";
}

}  // namespace app
