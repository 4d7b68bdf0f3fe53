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

void FaultPlan::Clear() {
  faults_ = {};
  anyCall_ = {};
}

int FaultPlan::Check(FaultPoint point) {
  const auto index = static_cast<std::size_t>(point);
  const int call = ++calls_[index];
  const int anyCall = ++totalCalls_;
  int error = 0;
  if (faults_[index].Hits(call)) {
    error = faults_[index].error;
  } else if (anyCall_.Hits(anyCall)) {
    error = kFaultPoints[index].anyCallError;
  }
  if (error != 0) failed_.push_back(point);
  return error;
}

int FaultPlan::Calls(std::string_view operation) const { return calls_[IndexOf(operation)]; }

}  // namespace platform::portable
