#pragma once
// The LZ expansion library of the portable platform: lz32's init, copy and close over the
// portable file system's channels and our SZDD decoder, with lz32's result conventions. A
// copy fails as the source and the destination make it, or with the code of an "LZCopy" fault
// (-5, -6, -7 arise no other way).
#include <cstdint>
#include <map>

#include "platform/portable/fault_plan.h"
#include "platform/services/file_system.h"
#include "platform/services/lz_api.h"

namespace platform::portable {

class PortableLz : public LzApi {
 public:
  explicit PortableLz(FaultPlan& faults);
  ~PortableLz() override;

  std::int32_t Init(FileChannel& source) override;
  std::int32_t Copy(std::int32_t source, FileChannel& destination) override;
  void Close(std::int32_t handle) override;

  // Handles made and not yet closed.
  std::size_t OpenHandles() const { return sources_.size(); }

 private:
  FaultPlan& faults_;
  // What each handle reads: lz32's own handle to the file stands for the channel's, which
  // stays open when the handle is closed.
  std::map<std::int32_t, FileChannel*> sources_;
  std::int32_t nextHandle_ = 1;
};

}  // namespace platform::portable
