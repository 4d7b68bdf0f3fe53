// Tests of the Windows backend against the real system calls, run under Wine: text
// conversion, the registry, files, LZ, DDE, the toolkit's dialogs and program start,
// and forms as real windows.
#include <windows.h>

#include <cstdio>

#include "check.h"
#include "platform/win32/module_path.h"
#include "platform/win32/wide.h"

namespace backend_test {

namespace {

int failures = 0;

}  // namespace

void Check(bool passed, const char* what, const char* file, int line) {
  if (passed) return;
  ++failures;
  std::printf("FAILED %s:%d: %s\n", file, line, what);
  std::fflush(stdout);
}

void Section(const char* name) {
  std::printf("-- %s\n", name);
  std::fflush(stdout);
}

int Failures() { return failures; }

std::string Scratch() {
  static const std::string folder = [] {
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring path = std::wstring(temp) + L"backend test\\";
    CreateDirectoryW(path.c_str(), nullptr);
    return platform::win32::Utf8(path);
  }();
  return folder;
}

}  // namespace backend_test

// With "--shell-start", the start of a program through the shell alone; otherwise the rest.
int main(int argc, char** argv) {
  using namespace backend_test;
  const std::string self = platform::win32::ModulePath();
  if (self.find("child probe") != std::string::npos) return RunAsStartedChild();
  if (self.find("limited probe") != std::string::npos) return RunAsLimitedCopy();
  if (argc > 1 && std::string(argv[1]) == "--shell-start") {
    ShellStartTests();
  } else {
    ServiceTests();
    ToolkitTests();
    FormTests();
    FinishTextTests();
  }
  std::printf("%d failed checks\n", Failures());
  return Failures() == 0 ? 0 : 1;
}
