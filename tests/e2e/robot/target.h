#pragma once
// The programs the robot drives: started by the script, the latest one watched until it ends.
// An earlier one keeps running (a second copy of a program meets the first).
#include <windows.h>

#include <string>
#include <vector>

namespace robot {

class Target {
 public:
  Target() = default;
  ~Target();
  Target(const Target&) = delete;
  Target& operator=(const Target&) = delete;

  // Starts `program` with `arguments`, in the program's own folder, as a user would; it becomes
  // the latest program. Returns the system's error code, 0 on success.
  DWORD Start(const std::wstring& program, const std::vector<std::wstring>& arguments);
  bool Started() const { return !processes_.empty(); }
  // Waits until the latest program has ended, which the one started before it then follows as
  // the latest; false when it is still running after `ms`.
  bool WaitForExit(DWORD ms, DWORD& exitCode);
  // Ends every program that the script left running.
  void Stop();

 private:
  std::vector<HANDLE> processes_;
};

}  // namespace robot
