#pragma once
// The LZ expansion library of the portable platform: lz32's open, copy and close over the
// portable file system and our SZDD decoder, with lz32's result conventions. As lz32 does,
// an open that fails is tried once more under the name's compressed form ("x.exe" as
// "x.ex_"), for writing too. Open failures are the file system's (its "Open" faults included); a
// copy fails as the source and the destination make it, or with the code of an "LZCopy" fault (-5,
// -6, -7 arise no other way).
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/portable/fault_plan.h"
#include "platform/services/file_system.h"
#include "platform/services/lz_api.h"

namespace platform::portable {

class PortableLz : public LzApi {
 public:
  PortableLz(FaultPlan& faults, FileSystem& files);
  ~PortableLz() override;

  std::int32_t OpenFile(const std::string& path, OfStruct& record, std::uint16_t style) override;
  std::int32_t Copy(std::int32_t source, std::int32_t destination) override;
  void Close(std::int32_t handle) override;

  // Handles opened and not yet closed.
  std::size_t OpenHandles() const { return channels_.size(); }

 private:
  FaultPlan& faults_;
  FileSystem& files_;
  std::map<std::int32_t, std::unique_ptr<FileChannel>> channels_;
  std::int32_t nextHandle_ = 1;
};

}  // namespace platform::portable
