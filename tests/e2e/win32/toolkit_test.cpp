// The toolkit against the system: where the program runs from, the screen's measures,
// starting a program with and without elevation, and the message box and input box answered
// by a timer.
#include <windows.h>

#include <functional>
#include <string>

#include "check.h"
#include "dialog_answer.h"
#include "platform/win32/module_path.h"
#include "platform/win32/elevation.h"
#include "platform/win32/shell_start.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_toolkit.h"
#include "tests/e2e/robot/processes.h"

namespace backend_test {

namespace {

using platform::win32::Utf8;
using platform::win32::Wide;

constexpr wchar_t kStartedMark[] = L"started.txt";

void PlaceTests(platform::win32::Win32Toolkit& toolkit) {
  Section("where the program runs, the screen");
  const std::string self = platform::win32::ModulePath();
  CHECK(toolkit.ProgramFile() == self);
  CHECK(self.size() > 16 && self.substr(self.size() - 16) == "backend_test.exe");
  CHECK(platform::win32::FolderOf("C:\\setup.exe") == "C:\\");
  CHECK(platform::win32::FolderOf("C:\\Programs\\Pelmora\\setup.exe") == "C:\\Programs\\Pelmora");
  CHECK(platform::win32::FolderOf("setup.exe").empty());
  HDC screen = GetDC(nullptr);
  CHECK(toolkit.PixelsPerInch() == GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  platform::PixelRect area;
  CHECK(toolkit.GetWorkArea(area) && area.right > area.left && area.bottom > area.top);
  CHECK(!toolkit.ThousandsSeparator().empty());
}

std::wstring StartFolder() { return Wide(Scratch()) + L"Start Here"; }

// Starts a copy of this test, "child probe.exe", through the toolkit: from its full path,
// blanks and all, it must run in its own folder, started by a process of `expectedParent`.
void CheckStartsChild(platform::win32::Win32Toolkit& toolkit, const std::wstring& expectedParent) {
  const std::wstring folder = StartFolder();
  const std::wstring child = folder + L"\\child probe.exe";
  const std::wstring mark = folder + L"\\" + kStartedMark;
  CreateDirectoryW(folder.c_str(), nullptr);
  DeleteFileW(mark.c_str());
  CHECK(CopyFileW(Wide(platform::win32::ModulePath()).c_str(), child.c_str(), FALSE));
  SetCurrentDirectoryW(Wide(Scratch()).c_str());
  CHECK(toolkit.StartProgram(Utf8(child)) == platform::StartResult::kStarted);
  std::string started;
  for (int tries = 0; tries < 200 && started.empty(); ++tries) {
    Sleep(100);
    HANDLE file = CreateFileW(mark.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) continue;
    char text[MAX_PATH * 3] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    started.assign(text, read);
  }
  CHECK(started == Utf8(folder) + "\n" + Utf8(expectedParent));
  Sleep(500);  // the child has ended by now
  DeleteFileW(mark.c_str());
  DeleteFileW(child.c_str());
}

// Runs a copy of this test, "limited probe.exe", with the limited token that goes with our
// elevated one, as the programs of a signed-in user run; its exit code is its failed checks.
DWORD RunLimitedCopy() {
  const std::wstring copy = Wide(Scratch()) + L"limited probe.exe";
  CHECK(CopyFileW(Wide(platform::win32::ModulePath()).c_str(), copy.c_str(), FALSE));
  HANDLE token = nullptr;
  TOKEN_LINKED_TOKEN linked{};
  DWORD size = 0;
  CHECK(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
        GetTokenInformation(token, TokenLinkedToken, &linked, sizeof linked, &size));
  CloseHandle(token);
  std::wstring commandLine = L"\"" + copy + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  DWORD failures = 1;
  if (CreateProcessAsUserW(linked.LinkedToken, copy.c_str(), commandLine.data(), nullptr, nullptr,
                           FALSE, 0, nullptr, nullptr, &startup, &started)) {
    if (WaitForSingleObject(started.hProcess, 60000) == WAIT_OBJECT_0)
      GetExitCodeProcess(started.hProcess, &failures);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
  }
  CloseHandle(linked.LinkedToken);
  DeleteFileW(copy.c_str());
  return failures;
}

// A process without elevation starts the program as its own child.
void StartTests() {
  Section("starting a program without elevation");
  CHECK(RunLimitedCopy() == 0);
  RemoveDirectoryW(StartFolder().c_str());
}

void DialogTests(platform::win32::Win32Toolkit& toolkit) {
  Section("message box and input box");
  // Style 4388: Yes and No, No the default; Enter answers it.
  std::wstring shownText;
  int defaultButton = 0;
  AnswerDialog(L"Pelmora \u015E", [&](HWND box) {
    shownText = DialogText(box);
    defaultButton = DefaultButton(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(defaultButton, BN_CLICKED), 0);
  });
  CHECK(toolkit.MsgBox("Do you want to cancel? \xC4\x9F", 4388, "Pelmora \xC5\x9E") ==
        platform::kNo);
  CHECK(defaultButton == IDNO);
  CHECK(shownText == L"Do you want to cancel? \u011F");

  // Style 48 has OK only.
  AnswerDialog(L"Error", [&](HWND box) {
    defaultButton = DefaultButton(box);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  CHECK(toolkit.MsgBox("D:\\Gone could not be found!", 48, "Error") == platform::kOk);
  CHECK(defaultButton == IDOK);

  std::wstring shownDefault;
  AnswerDialog(L"New Folder", [&](HWND box) {
    HWND field = FindWindowExW(box, nullptr, L"Edit", nullptr);
    shownDefault = DialogText(field);
    SetWindowTextW(field, L"Yaz\u0131lar");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  CHECK(toolkit.InputBox("Folder name:", "New Folder", "Yeni \xC3\xB6") == "Yaz\xC4\xB1lar");
  CHECK(shownDefault == L"Yeni \u00F6");

  AnswerDialog(L"New Folder", [](HWND box) {
    SetWindowTextW(FindWindowExW(box, nullptr, L"Edit", nullptr), L"typed, then cancelled");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  CHECK(toolkit.InputBox("Folder name:", "New Folder", "").empty());
}

}  // namespace

// The started child writes its current folder and the image name of its parent.
int RunAsStartedChild() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  std::wstring parent;
  for (const robot::RunningProcess& process : robot::ProcessesNamed(L"child probe.exe")) {
    if (process.id == GetCurrentProcessId()) parent = process.parentImage;
  }
  const std::string text = Utf8(folder) + "\n" + Utf8(parent);
  HANDLE file = CreateFileW(kStartedMark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}

// The limited copy: the program starts as its own child, and a missing one fails to start.
int RunAsLimitedCopy() {
  platform::win32::Win32Toolkit toolkit;
  CHECK(!platform::win32::RunsElevated());
  CheckStartsChild(toolkit, L"limited probe.exe");
  CHECK(toolkit.StartProgram(Utf8(StartFolder() + L"\\none.exe")) ==
        platform::StartResult::kFailed);
  return Failures();
}

void ToolkitTests() {
  platform::win32::Win32Toolkit toolkit;
  PlaceTests(toolkit);
  StartTests();
  DialogTests(toolkit);
}

// Wine gives every process an elevated token: the shell starts the program, as the signed-in
// user, through COM.
void ShellStartTests() {
  Section("starting a program from an elevated process");
  platform::win32::Win32Toolkit toolkit;
  CHECK(platform::win32::RunsElevated());
  CheckStartsChild(toolkit, L"explorer.exe");
  RemoveDirectoryW(StartFolder().c_str());
}

}  // namespace backend_test
