// The toolkit against the system: where the program runs from, the screen's measures,
// starting a program, and the message box and input box answered by a timer.
#include <windows.h>

#include <functional>
#include <string>

#include "check.h"
#include "dialog_answer.h"
#include "platform/win32/module_path.h"
#include "platform/win32/screen.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_toolkit.h"

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
  CHECK(toolkit.TwipsPerPixelX() == 1440 / platform::win32::SystemDpi());
  CHECK(toolkit.TwipsPerPixelY() == toolkit.TwipsPerPixelX());
  platform::PixelRect area;
  CHECK(toolkit.GetWorkArea(area) && area.right > area.left && area.bottom > area.top);
  CHECK(!toolkit.ThousandsSeparator().empty());
}

// The program starts from its full path, blanks and all, in its own folder.
void StartTests(platform::win32::Win32Toolkit& toolkit) {
  Section("starting a program");
  const std::wstring folder = Wide(Scratch()) + L"Start Here";
  const std::wstring child = folder + L"\\child probe.exe";
  const std::wstring mark = folder + L"\\" + kStartedMark;
  CreateDirectoryW(folder.c_str(), nullptr);
  DeleteFileW(mark.c_str());
  CHECK(CopyFileW(Wide(platform::win32::ModulePath()).c_str(), child.c_str(), FALSE));
  SetCurrentDirectoryW(Wide(Scratch()).c_str());
  CHECK(toolkit.StartProgram(Utf8(child)));
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
  CHECK(started == Utf8(folder));
  CHECK(!toolkit.StartProgram(Utf8(folder + L"\\none.exe")));
  Sleep(500);  // the child has ended by now
  DeleteFileW(mark.c_str());
  DeleteFileW(child.c_str());
  RemoveDirectoryW(folder.c_str());
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

int RunAsStartedChild() {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  const std::string text = Utf8(folder);
  HANDLE file = CreateFileW(kStartedMark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}

void ToolkitTests() {
  platform::win32::Win32Toolkit toolkit;
  PlaceTests(toolkit);
  StartTests(toolkit);
  DialogTests(toolkit);
}

}  // namespace backend_test
