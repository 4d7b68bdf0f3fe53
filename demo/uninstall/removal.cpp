#include "demo/uninstall/removal.h"

#include <algorithm>

#include "demo/uninstall/uninstall_texts.h"

namespace demo {

bool AnythingLeft(std::span<const RemovalStep> steps) {
  return std::any_of(steps.begin(), steps.end(), [](const RemovalStep& step) {
    return step.isLeftover && step.check() != Presence::Absent;
  });
}

RemovalResult RemoveAll(std::span<const RemovalStep> steps) {
  RemovalResult result;
  for (const RemovalStep& step : steps) {
    if (step.check() == Presence::Absent) continue;
    (step.remove() ? result.removed : result.failed).push_back(step.label);
  }
  return result;
}

std::string ReportText(const RemovalResult& result) {
  if (!result.failed.empty()) {
    std::string text(kLeftBehindText);
    text += '\n';
    for (const std::string& label : result.failed) text += "\n" + label;
    return text;
  }
  return std::string(result.removed.empty() ? kNothingLeftText : kRemovedText);
}

}  // namespace demo
