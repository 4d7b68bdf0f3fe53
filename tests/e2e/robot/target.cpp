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

Target::~Target() {
  if (process_) CloseHandle(process_);
}

DWORD Target::Start(const std::wstring& program, const std::vector<std::wstring>& arguments) {
  Stop();
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
  process_ = started.hProcess;
  return 0;
}

bool Target::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool Target::WaitForExit(DWORD ms, DWORD& exitCode) {
  if (!process_) return false;
  if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(process_, &exitCode);
  return true;
}

void Target::Stop() {
  if (Running()) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kStopMs);
  }
  if (process_) CloseHandle(process_);
  process_ = nullptr;
}

}  // namespace robot
