// demo_probe: looks at and works the demo programs' windows from outside, for the Wine tests.
//
//   demo_probe window TITLE SECONDS          waits for a visible top-level window titled TITLE
//   demo_probe buttons TITLE CAPTION...      the window has an enabled button for each caption
//   demo_probe click TITLE CAPTION           presses a button of the window
//   demo_probe answer TITLE BUTTON SECONDS   waits for a message box titled TITLE, prints its
//                                            text, presses BUTTON and waits for the box to go
//   demo_probe close TITLE SECONDS           closes the window and waits for it to go
//   demo_probe progman COMMAND               sends one command to Program Manager
//   demo_probe group NAME                    prints "present", "absent" or "unknown"
//
// Captions are compared without their "&". Exit code 0 when the step worked, 1 when not.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "demo/common/wide_text.h"
#include "demo/uninstall/program_group.h"

namespace {

constexpr DWORD kPollMs = 100;
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kMessageBoxTextId = 0xFFFF;

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring WithoutAmpersands(std::wstring text) {
  std::erase(text, L'&');
  return text;
}

int Fail(const std::wstring& what) {
  std::fprintf(stderr, "demo_probe: %s\n", demo::ToUtf8(what).c_str());
  return 1;
}

struct Search {
  const wchar_t* title;
  const wchar_t* className;  // nullptr for any
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  wchar_t className[64];
  GetClassNameW(window, className, 64);
  if (IsWindowVisible(window) && WindowText(window) == search->title &&
      (search->className == nullptr || std::wcscmp(className, search->className) == 0)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindTopLevel(const wchar_t* title, const wchar_t* className) {
  Search search{title, className, nullptr};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForTopLevel(const wchar_t* title, const wchar_t* className, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (HWND window = FindTopLevel(title, className)) return window;
    if (GetTickCount64() > deadline) return nullptr;
    Sleep(kPollMs);
  }
}

bool WaitUntilGone(HWND window, double seconds) {
  const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount64() > deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::vector<HWND> Buttons(HWND window) {
  std::vector<HWND> buttons;
  EnumChildWindows(
      window,
      [](HWND child, LPARAM lParam) -> BOOL {
        wchar_t className[64];
        GetClassNameW(child, className, 64);
        if (_wcsicmp(className, L"Button") == 0) {
          reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(child);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&buttons));
  return buttons;
}

HWND FindButton(HWND window, const wchar_t* caption) {
  for (HWND button : Buttons(window)) {
    if (WithoutAmpersands(WindowText(button)) == WithoutAmpersands(caption)) return button;
  }
  return nullptr;
}

// A click as the button reports it to its parent, which works whether or not the window is
// active (a message box under a bare X server never is).
void Press(HWND parent, HWND button) {
  PostMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

int WaitForWindow(const wchar_t* title, double seconds) {
  if (WaitForTopLevel(title, nullptr, seconds) == nullptr) {
    return Fail(std::wstring(L"no window titled \"") + title + L"\"");
  }
  return 0;
}

int CheckButtons(const wchar_t* title, int count, wchar_t** captions) {
  HWND window = FindTopLevel(title, nullptr);
  if (window == nullptr) return Fail(std::wstring(L"no window titled \"") + title + L"\"");
  for (int i = 0; i < count; ++i) {
    HWND button = FindButton(window, captions[i]);
    if (button == nullptr || !IsWindowEnabled(button) || !IsWindowVisible(button)) {
      return Fail(std::wstring(L"no enabled button \"") + captions[i] + L"\"");
    }
  }
  return 0;
}

int Click(const wchar_t* title, const wchar_t* caption) {
  HWND window = FindTopLevel(title, nullptr);
  HWND button = window == nullptr ? nullptr : FindButton(window, caption);
  if (button == nullptr) return Fail(std::wstring(L"no button \"") + caption + L"\"");
  Press(window, button);
  return 0;
}

int Answer(const wchar_t* title, const wchar_t* caption, double seconds) {
  HWND box = WaitForTopLevel(title, kDialogClass, seconds);
  if (box == nullptr) return Fail(std::wstring(L"no message box titled \"") + title + L"\"");
  std::printf("%s\n", demo::ToUtf8(WindowText(GetDlgItem(box, kMessageBoxTextId))).c_str());
  std::fflush(stdout);
  HWND button = FindButton(box, caption);
  if (button == nullptr) return Fail(std::wstring(L"the box has no button \"") + caption + L"\"");
  Press(box, button);
  return WaitUntilGone(box, seconds) ? 0 : Fail(L"the message box stays");
}

int Close(const wchar_t* title, double seconds) {
  HWND window = FindTopLevel(title, nullptr);
  if (window == nullptr) return Fail(std::wstring(L"no window titled \"") + title + L"\"");
  PostMessageW(window, WM_CLOSE, 0, 0);
  return WaitUntilGone(window, seconds) ? 0 : Fail(L"the window stays");
}

int PrintGroupPresence(const wchar_t* name) {
  const demo::Presence presence = demo::ProgramGroupPresence(demo::ToUtf8(name));
  std::printf("%s\n", presence == demo::Presence::Present  ? "present"
                      : presence == demo::Presence::Absent ? "absent"
                                                           : "unknown");
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"window" && argc == 4) return WaitForWindow(argv[2], _wtof(argv[3]));
  if (command == L"buttons" && argc >= 4) return CheckButtons(argv[2], argc - 3, argv + 3);
  if (command == L"click" && argc == 4) return Click(argv[2], argv[3]);
  if (command == L"answer" && argc == 5) return Answer(argv[2], argv[3], _wtof(argv[4]));
  if (command == L"close" && argc == 4) return Close(argv[2], _wtof(argv[3]));
  if (command == L"progman" && argc == 3) {
    return demo::ExecuteProgmanCommand(demo::ToUtf8(argv[2])) ? 0 : Fail(L"not carried out");
  }
  if (command == L"group" && argc == 3) return PrintGroupPresence(argv[2]);
  return Fail(L"unknown command or wrong arguments; see the head of demo_probe.cpp");
}
