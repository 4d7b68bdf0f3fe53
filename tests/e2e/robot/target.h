#pragma once
// The program the robot drives: started by the script, watched until it ends.
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

  // Starts `program` with `arguments`, in the program's own folder, as a user would.
  // Returns the system's error code, 0 on success.
  DWORD Start(const std::wstring& program, const std::vector<std::wstring>& arguments);
  bool Started() const { return process_ != nullptr; }
  bool Running() const;
  // Waits until the program has ended; false when it is still running after `ms`.
  bool WaitForExit(DWORD ms, DWORD& exitCode);
  // Ends a program that the script left running.
  void Stop();

 private:
  HANDLE process_ = nullptr;
};

}  // namespace robot
