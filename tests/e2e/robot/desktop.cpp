#include "tests/e2e/robot/desktop.h"

#include <cstdio>
#include <functional>

#include "platform/win32/wide.h"

namespace robot {
namespace {

using platform::win32::Wide;

// How long a window may take to answer a question about its text.
constexpr UINT kAnswerMs = 2000;
constexpr char kFocusReference[] = "@focus";

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

struct Search {
  const std::function<bool(HWND)>& keep;
  std::vector<HWND> found;
};

BOOL CALLBACK Visit(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  if (search.keep(window)) search.found.push_back(window);
  return TRUE;
}

// The top-level windows (parent null), or every window inside `parent`, that `keep` accepts.
std::vector<HWND> Collect(HWND parent, const std::function<bool(HWND)>& keep) {
  Search search{keep, {}};
  if (parent)
    EnumChildWindows(parent, Visit, reinterpret_cast<LPARAM>(&search));
  else
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int PixelsFromTwips(int twips) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return MulDiv(twips, dpi, 1440);
}

// The innermost visible control under a point of the client area of `top`.
HWND ControlAtTwips(HWND top, int x, int y) {
  POINT point{PixelsFromTwips(x), PixelsFromTwips(y)};
  HWND parent = top;
  for (;;) {
    HWND child = ChildWindowFromPointEx(parent, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == parent) return parent == top ? nullptr : parent;
    MapWindowPoints(parent, child, &point, 1);
    parent = child;
  }
}

// The control of `top` that has the keyboard focus: the focus belongs to the thread of the
// window, which may be another program's.
HWND FocusedControl(HWND top, std::string& why) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info)) {
    why = "the window's thread tells no focus";
    return nullptr;
  }
  if (!info.hwndFocus || !IsChild(top, info.hwndFocus)) {
    why = "no control of the window has the focus";
    return nullptr;
  }
  return info.hwndFocus;
}

HWND ControlByCaption(HWND top, const std::string& caption, std::string& why) {
  const std::wstring wanted = StripMnemonics(Wide(caption));
  const auto matches =
      Collect(top, [&](HWND w) { return StripMnemonics(WindowText(w)) == wanted; });
  if (matches.size() == 1) return matches[0];
  if (matches.empty()) {
    why = "no control has this caption";
    return nullptr;
  }
  // Of several, the user means the one he can see.
  std::vector<HWND> showing;
  for (HWND w : matches)
    if (IsShowing(w)) showing.push_back(w);
  if (showing.size() == 1) return showing[0];
  why = std::to_string(matches.size()) + " controls have this caption";
  return nullptr;
}

}  // namespace

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length)) {
    // A window whose program is busy still has the text it was last given.
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                      SMTO_ABORTIFHUNG, kAnswerMs, &copied);
  text.resize(copied);
  return text;
}

std::wstring StripMnemonics(const std::wstring& caption) {
  std::wstring out;
  for (std::size_t at = 0; at < caption.size(); ++at) {
    if (caption[at] == L'&' && ++at == caption.size()) break;
    out += caption[at];
  }
  return out;
}

std::vector<HWND> TopWindows(const std::wstring& title, bool dialogsOnly) {
  return Collect(nullptr, [&](HWND w) {
    return IsWindowVisible(w) && (!dialogsOnly || ClassName(w) == L"#32770") &&
           WindowText(w) == title;
  });
}

std::vector<std::wstring> VisibleTitles() {
  std::vector<std::wstring> titles;
  for (HWND w : Collect(nullptr, [](HWND w) { return IsWindowVisible(w) != FALSE; }))
    titles.push_back(WindowText(w));
  return titles;
}

HWND FindControl(HWND top, const std::string& reference, std::string& why) {
  if (reference == kFocusReference) return FocusedControl(top, why);
  int x = 0, y = 0;
  char rest = 0;
  if (std::sscanf(reference.c_str(), "@%d,%d%c", &x, &y, &rest) == 2) {
    HWND control = ControlAtTwips(top, x, y);
    if (!control) why = "no visible control lies at this point";
    return control;
  }
  return ControlByCaption(top, reference, why);
}

bool IsTextField(HWND control) { return lstrcmpiW(ClassName(control).c_str(), L"Edit") == 0; }

bool IsShowing(HWND control) { return IsWindowVisible(control) != FALSE; }

bool AcceptsInput(HWND control) {
  if (!IsShowing(control)) return false;
  for (HWND w = control; w && w != GetDesktopWindow(); w = GetAncestor(w, GA_PARENT))
    if (!IsWindowEnabled(w)) return false;
  return true;
}

}  // namespace robot
