#include "platform/portable/fault_plan.h"

#include <stdexcept>
#include <string>

namespace platform::portable {

std::size_t FaultPlan::IndexOf(std::string_view operation) {
  for (const FaultPointInfo& info : kFaultPoints) {
    if (info.name == operation) return static_cast<std::size_t>(info.point);
  }
  throw std::invalid_argument("no fault point is named \"" + std::string(operation) + "\"");
}

std::string_view FaultPlan::NameOf(FaultPoint point) {
  return kFaultPoints[static_cast<std::size_t>(point)].name;
}

void FaultPlan::Fail(std::string_view operation, int error, int nth, bool persistent) {
  const std::size_t index = IndexOf(operation);
  faults_[index] = Fault{error, calls_[index] + nth, persistent};
}

void FaultPlan::FailAnyCall(int nth, bool persistent) {
  anyCall_ = Fault{0, totalCalls_ + nth, persistent};
}

void FaultPlan::SpoilWrite(WriteOutcome outcome, int nth, bool persistent) {
  if (outcome == WriteOutcome::kWhole) throw std::invalid_argument("a whole write is no fault");
  const auto index = static_cast<std::size_t>(FaultPoint::kWrite);
  faults_[index] =
      Fault{kFaultPoints[index].anyCallError, calls_[index] + nth, persistent, outcome};
}

void FaultPlan::Clear() {
  faults_ = {};
  anyCall_ = {};
}

void FaultPlan::LimitSteps(int steps) { stepLimit_ = steps == 0 ? 0 : steps_ + steps; }

// Once: the calls of the clean-up that runs as the program unwinds must not throw again.
void FaultPlan::Step() {
  ++steps_;
  if (stepLimit_ == 0 || steps_ <= stepLimit_) return;
  stepLimit_ = 0;
  throw StepLimitReached{};
}

const FaultPlan::Fault* FaultPlan::Hit(FaultPoint point) {
  Step();
  const auto index = static_cast<std::size_t>(point);
  const int call = ++calls_[index];
  const int anyCall = ++totalCalls_;
  const Fault* hit = nullptr;
  if (faults_[index].Hits(call)) {
    hit = &faults_[index];
  } else if (anyCall_.Hits(anyCall)) {
    hit = &anyCall_;
  }
  if (hit != nullptr) failed_.push_back(point);
  return hit;
}

int FaultPlan::Check(FaultPoint point) {
  const Fault* hit = Hit(point);
  if (hit == nullptr) return 0;
  // A fault of any kind fails each operation with its own error.
  return hit == &anyCall_ ? kFaultPoints[static_cast<std::size_t>(point)].anyCallError
                          : hit->error;
}

WriteOutcome FaultPlan::CheckWrite() {
  const Fault* hit = Hit(FaultPoint::kWrite);
  return hit == nullptr ? WriteOutcome::kWhole : hit->write;
}

int FaultPlan::Calls(std::string_view operation) const { return calls_[IndexOf(operation)]; }

}  // namespace platform::portable
