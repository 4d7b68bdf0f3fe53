#include "platform/portable/fault_plan.h"

namespace platform::portable {

void FaultPlan::Fail(const std::string& operation, int error, int nth, bool persistent) {
  faults_[operation] = Fault{error, Calls(operation) + nth, persistent};
}

void FaultPlan::Clear() { faults_.clear(); }

int FaultPlan::Check(const std::string& operation) {
  const int call = ++calls_[operation];
  const auto found = faults_.find(operation);
  if (found == faults_.end()) return 0;
  const Fault& fault = found->second;
  if (call == fault.atCall || (fault.persistent && call > fault.atCall)) return fault.error;
  return 0;
}

int FaultPlan::Calls(const std::string& operation) const {
  const auto found = calls_.find(operation);
  return found == calls_.end() ? 0 : found->second;
}

}  // namespace platform::portable
