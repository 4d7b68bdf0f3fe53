#include "demo/uninstall/removal.h"

#include "demo/uninstall/uninstall_texts.h"

namespace demo {

bool AnythingLeft(std::span<const RemovalStep> steps) {
  for (const RemovalStep& step : steps) {
    if (step.isLeftover && step.check(step.target) != Presence::Absent) return true;
  }
  return false;
}

bool RemoveAll(std::span<RemovalStep> steps) {
  bool complete = true;
  for (RemovalStep& step : steps) {
    if (step.check(step.target) == Presence::Absent) {
      step.outcome = Outcome::NothingThere;
    } else {
      step.outcome = step.remove(step.target) ? Outcome::Removed : Outcome::Failed;
      complete = complete && step.outcome == Outcome::Removed;
    }
  }
  return complete;
}

ReportText Report(std::span<const RemovalStep> steps) {
  bool removed = false;
  bool failed = false;
  for (const RemovalStep& step : steps) {
    removed = removed || step.outcome == Outcome::Removed;
    failed = failed || step.outcome == Outcome::Failed;
  }
  ReportText text;
  if (!failed) {
    text.Append(removed ? kRemovedText : kNothingLeftText);
    return text;
  }
  text.Append(kLeftBehindText).Append('\n');
  for (const RemovalStep& step : steps) {
    if (step.outcome == Outcome::Failed) text.Append('\n').Append(step.label);
  }
  return text;
}

}  // namespace demo
