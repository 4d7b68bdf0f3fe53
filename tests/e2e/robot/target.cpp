#include "tests/e2e/robot/target.h"

namespace robot {
namespace {

// How long a terminated program may take to go.
constexpr DWORD kStopMs = 5000;

std::wstring Quoted(const std::wstring& word) {
  return word.find_first_of(L" \t") == std::wstring::npos ? word : L"\"" + word + L"\"";
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

Target::~Target() { Stop(); }

DWORD Target::Start(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  std::wstring commandLine = L"\"" + program + L"\"";
  for (const std::wstring& argument : arguments) commandLine += L" " + Quoted(argument);
  const std::wstring folder = FolderOf(program);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started))
    return GetLastError();
  CloseHandle(started.hThread);
  processes_.push_back(started.hProcess);
  return 0;
}

bool Target::WaitForExit(DWORD ms, DWORD& exitCode) {
  if (processes_.empty() || WaitForSingleObject(processes_.back(), ms) != WAIT_OBJECT_0)
    return false;
  GetExitCodeProcess(processes_.back(), &exitCode);
  CloseHandle(processes_.back());
  processes_.pop_back();
  return true;
}

void Target::Stop() {
  for (const HANDLE process : processes_) {
    if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process, 1);
      WaitForSingleObject(process, kStopMs);
    }
    CloseHandle(process);
  }
  processes_.clear();
}

}  // namespace robot
