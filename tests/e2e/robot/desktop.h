#pragma once
// Finding and reading the windows of other programs: top-level windows by title, controls
// by caption or by their position in the design's twips. Texts are read with messages
// (WM_GETTEXT), which also works for the edit controls of another process.
#include <windows.h>

#include <string>
#include <vector>

namespace robot {

// The window's text as the user sees it.
std::wstring WindowText(HWND window);
// A caption without its mnemonic marks: "&Yes" reads "Yes", "&&" reads "&".
std::wstring StripMnemonics(const std::wstring& caption);

// Visible top-level windows with this exact title; message boxes only when `dialogsOnly`.
std::vector<HWND> TopWindows(const std::wstring& title, bool dialogsOnly);
// Titles of all visible top-level windows, for failure reports.
std::vector<std::wstring> VisibleTitles();

// A control of `top` named by a script word: "@focus" is the control that has the keyboard
// focus; "@x,y" is the control under that point of the client area, in twips; any other word
// is a caption, compared without mnemonic marks. Returns null and says why in `why` when there
// is no single such control.
HWND FindControl(HWND top, const std::string& reference, std::string& why);

// An edit control, the only kind that takes typed text.
bool IsTextField(HWND control);

// Visible, and enabled together with every window that holds it.
bool IsShowing(HWND control);
bool AcceptsInput(HWND control);

}  // namespace robot
