#pragma once
// The processes that run beside the robot, and who started them.
#include <windows.h>

#include <string>
#include <vector>

namespace robot {

struct RunningProcess {
  DWORD id = 0;
  // The image name of the process that started it ("explorer.exe"), or empty when that
  // process has ended.
  std::wstring parentImage;
};

// The running processes whose image name is `image` ("Pelmora.exe"), compared without regard
// to case.
std::vector<RunningProcess> ProcessesNamed(const std::wstring& image);

// Stops every thread of each running process named `image`, as a hung program is stopped,
// or lets them go on again; the number of processes that were stopped or let go.
int HoldProcesses(const std::wstring& image, bool hold);

// Whether two image names are the same file name, without regard to case.
bool SameImage(const std::wstring& a, const std::wstring& b);

}  // namespace robot
