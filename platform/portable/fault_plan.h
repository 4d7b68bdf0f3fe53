#pragma once
// Makes operations of the portable platform fail on demand, so that a test can fail the Nth
// call of one operation, or the Nth platform call of any kind, once or from then on.
//
// Every operation that can fail is a fault point of the table below, with the error it
// fails with when a fault of any kind hits it. A test names operations by their table names;
// a name that is not in the table is an error, not a fault that never fires. A write can go
// wrong in more ways than failing: torn (part of its bytes written, then a failure) or short
// (part of its bytes written, and success reported all the same).
#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/services/file_system.h"
#include "platform/services/lz_api.h"
#include "platform/services/registry_api.h"

namespace platform::portable {

enum class FaultPoint {
  // Files.
  kGetAttributes,
  kMkDir,
  kRmDir,
  kDeleteFile,
  kIsLink,
  kFileLength,
  kRename,
  kOpen,
  kLength,
  kRead,
  kWrite,
  kClose,
  kTempPath,
  kDriveType,
  kDiskFreeSpace,
  kListFolders,
  kFileHolder,
  kMakeShellLink,
  // LZ expansion.
  kLzCopy,
  // Registry.
  kCreateKey,
  kOpenKey,
  kSetValueEx,
  kQueryValueEx,
  kEnumKey,
  // Program Manager.
  kConnect,
  kExecute,
  // Toolkit.
  kStartProgram,
  kShellStart,
  kGetWorkArea,
  kClaimInstance,
};

struct FaultPointInfo {
  FaultPoint point;
  std::string_view name;
  int anyCallError;  // what the operation fails with when a fault of any kind hits it
};

// The error of an operation that only succeeds or fails.
constexpr int kOperationFailed = 1;

// The fault points by name, each at the place of its FaultPoint.
inline constexpr std::array<FaultPointInfo,
                            static_cast<std::size_t>(FaultPoint::kClaimInstance) + 1>
    kFaultPoints = {{
        {FaultPoint::kGetAttributes, "GetAttributes", SystemError::kAccessDenied},
        {FaultPoint::kMkDir, "MkDir", SystemError::kAccessDenied},
        {FaultPoint::kRmDir, "RmDir", SystemError::kAccessDenied},
        {FaultPoint::kDeleteFile, "DeleteFile", SystemError::kAccessDenied},
        {FaultPoint::kIsLink, "IsLink", kOperationFailed},
        {FaultPoint::kFileLength, "FileLength", kOperationFailed},
        {FaultPoint::kRename, "Rename", SystemError::kSharingViolation},
        {FaultPoint::kOpen, "Open", SystemError::kAccessDenied},
        {FaultPoint::kLength, "Length", SystemError::kAccessDenied},
        {FaultPoint::kRead, "Read", SystemError::kCrc},
        {FaultPoint::kWrite, "Write", SystemError::kDiskFull},
        {FaultPoint::kClose, "Close", SystemError::kDiskFull},
        {FaultPoint::kTempPath, "TempPath", kOperationFailed},
        {FaultPoint::kDriveType, "DriveType", kOperationFailed},
        {FaultPoint::kDiskFreeSpace, "DiskFreeSpace", SystemError::kNotReady},
        {FaultPoint::kListFolders, "ListFolders", SystemError::kAccessDenied},
        {FaultPoint::kFileHolder, "FileHolder", kOperationFailed},
        {FaultPoint::kMakeShellLink, "MakeShellLink", SystemError::kAccessDenied},
        {FaultPoint::kLzCopy, "LZCopy", LzError::kWrite},
        {FaultPoint::kCreateKey, "CreateKey", RegStatus::kAccessDenied},
        {FaultPoint::kOpenKey, "OpenKey", RegStatus::kAccessDenied},
        {FaultPoint::kSetValueEx, "SetValueEx", RegStatus::kAccessDenied},
        {FaultPoint::kQueryValueEx, "QueryValueEx", RegStatus::kAccessDenied},
        {FaultPoint::kEnumKey, "EnumKey", RegStatus::kAccessDenied},
        {FaultPoint::kConnect, "Connect", kOperationFailed},
        {FaultPoint::kExecute, "Execute", kOperationFailed},
        {FaultPoint::kStartProgram, "StartProgram", kOperationFailed},
        {FaultPoint::kShellStart, "ShellStart", kOperationFailed},
        {FaultPoint::kGetWorkArea, "GetWorkArea", kOperationFailed},
        {FaultPoint::kClaimInstance, "ClaimInstance", kOperationFailed},
    }};

// The table is indexed by fault point: each entry must stand at its own place.
static_assert([] {
  for (std::size_t i = 0; i < kFaultPoints.size(); ++i) {
    if (static_cast<std::size_t>(kFaultPoints[i].point) != i) return false;
  }
  return true;
}());

// What becomes of one write.
enum class WriteOutcome { kWhole, kFails, kTorn, kShort };

// Thrown by the step past the plan's limit (see LimitSteps); deliberately not a
// std::exception, so that nothing on the way to the test mistakes it for a failure.
struct StepLimitReached {};

class FaultPlan {
 public:
  // The `nth` call (counted from now, 1-based) of `operation` fails with `error`; with
  // `persistent`, every later call fails too. Throws std::invalid_argument for a name that
  // is no fault point.
  void Fail(std::string_view operation, int error, int nth = 1, bool persistent = false);
  // The `nth` platform call of any kind (counted from now) fails with that operation's own
  // error; with `persistent`, every later call of any kind fails too.
  void FailAnyCall(int nth, bool persistent = false);
  // The `nth` write (counted from now) ends as `outcome`; with `persistent`, every later write
  // too. Throws std::invalid_argument for kWhole, which is no fault.
  void SpoilWrite(WriteOutcome outcome, int nth = 1, bool persistent = false);
  void Clear();
  // A program that hangs goes round and round its platform calls, event pumps or message
  // boxes: the first step past `steps` more of them throws StepLimitReached, which lifts the
  // limit. 0 lifts it as well.
  void LimitSteps(int steps);

  // Called by each operation: 0 to go on, or the error to fail with.
  int Check(FaultPoint point);
  // Called by each write in place of Check.
  WriteOutcome CheckWrite();
  // Called by each event pump and message box, which count towards the limit of steps.
  void Step();
  // How many times the operation, or any operation, has been called so far.
  int Calls(std::string_view operation) const;
  int TotalCalls() const { return totalCalls_; }
  // The operations that have failed so far, in order.
  const std::vector<FaultPoint>& Failed() const { return failed_; }

  static std::string_view NameOf(FaultPoint point);

 private:
  struct Fault {
    int error = 0;
    int atCall = 0;  // 0: none
    bool persistent = false;
    WriteOutcome write = WriteOutcome::kFails;  // what a write that it hits does
    bool Hits(int call) const {
      return atCall != 0 && (call == atCall || (persistent && call > atCall));
    }
  };
  static std::size_t IndexOf(std::string_view operation);
  // Counts a call of `point`; the fault that hits it, or null.
  const Fault* Hit(FaultPoint point);

  std::array<int, kFaultPoints.size()> calls_{};
  std::array<Fault, kFaultPoints.size()> faults_{};
  Fault anyCall_;
  int totalCalls_ = 0;
  int steps_ = 0;
  int stepLimit_ = 0;  // 0: none
  std::vector<FaultPoint> failed_;
};

}  // namespace platform::portable
