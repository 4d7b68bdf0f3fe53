#include "tests/e2e/robot/processes.h"

#include <tlhelp32.h>

#include <cwchar>

namespace robot {
namespace {

// When the process began, as the system counts time; 0 when it cannot be asked.
ULONGLONG CreationTime(DWORD id) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return 0;
  FILETIME created{}, exited{}, kernel{}, user{};
  const BOOL known = GetProcessTimes(process, &created, &exited, &kernel, &user);
  CloseHandle(process);
  return known ? (ULONGLONG{created.dwHighDateTime} << 32) | created.dwLowDateTime : 0;
}

// The image name of the process that started `child`. A process number that outlived its
// process may belong to a later one: a process that began after the child is not its parent.
std::wstring ParentImage(const std::vector<PROCESSENTRY32W>& all, const PROCESSENTRY32W& child) {
  for (const PROCESSENTRY32W& entry : all) {
    if (entry.th32ProcessID != child.th32ParentProcessID) continue;
    const ULONGLONG parentBegan = CreationTime(entry.th32ProcessID);
    const ULONGLONG childBegan = CreationTime(child.th32ProcessID);
    if (parentBegan != 0 && childBegan != 0 && parentBegan > childBegan) return {};
    return entry.szExeFile;
  }
  return {};
}

std::vector<PROCESSENTRY32W> Snapshot() {
  std::vector<PROCESSENTRY32W> all;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return all;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    all.push_back(entry);
  CloseHandle(snapshot);
  return all;
}

}  // namespace

int HoldProcesses(const std::wstring& image, bool hold) {
  using Call = LONG(NTAPI*)(HANDLE);
  const auto call = reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(
      GetModuleHandleW(L"ntdll.dll"), hold ? "NtSuspendProcess" : "NtResumeProcess")));
  int count = 0;
  for (const RunningProcess& found : ProcessesNamed(image)) {
    HANDLE process = OpenProcess(PROCESS_SUSPEND_RESUME, FALSE, found.id);
    if (!process) continue;
    if (call && call(process) >= 0) ++count;
    CloseHandle(process);
  }
  return count;
}

bool SameImage(const std::wstring& a, const std::wstring& b) {
  return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

std::vector<RunningProcess> ProcessesNamed(const std::wstring& image) {
  const std::vector<PROCESSENTRY32W> all = Snapshot();
  std::vector<RunningProcess> named;
  for (const PROCESSENTRY32W& entry : all) {
    if (SameImage(entry.szExeFile, image))
      named.push_back({entry.th32ProcessID, ParentImage(all, entry)});
  }
  return named;
}

}  // namespace robot
