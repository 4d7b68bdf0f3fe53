// run_unelevated: starts a program as the signed-in user runs it, without elevation, through the
// limited token that is linked to this process's elevated one, and waits until it ends.
//
//   run_unelevated PROGRAM [ARGUMENT...]
// Exit status: the program's own; 3 when it cannot be started that way.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: run_unelevated PROGRAM [ARGUMENT...]\n", stderr);
    return 3;
  }
  HANDLE token = nullptr;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) ||
      !GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size)) {
    std::fprintf(stderr, "run_unelevated: no linked token, error %lu\n", GetLastError());
    return 3;
  }
  std::wstring commandLine;
  for (int at = 1; at < argc; ++at) commandLine += L"\"" + std::wstring(argv[at]) + L"\" ";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessAsUserW(linked.LinkedToken, argv[1], commandLine.data(), nullptr, nullptr,
                            FALSE, 0, nullptr, nullptr, &startup, &started)) {
    std::fprintf(stderr, "run_unelevated: could not start it, error %lu\n", GetLastError());
    return 3;
  }
  DWORD exitCode = 3;
  WaitForSingleObject(started.hProcess, INFINITE);
  GetExitCodeProcess(started.hProcess, &exitCode);
  return static_cast<int>(exitCode);
}
