#pragma once
// How a control of the model appears as a window of the system.
#include <windows.h>

#include "platform/forms/controls.h"

namespace platform::win32 {

// Shapes and transparent labels have no window: the form or container that holds them
// paints them.
bool HasOwnWindow(const Control& control);

// Frames and picture boxes: child windows that hold other controls.
bool IsContainer(const Control& control);

// Creates the control's window, in the state the model holds. `startsGroup` marks the
// first control of a group for arrow-key navigation (WS_GROUP).
HWND CreateControlWindow(const Control& control, HWND parent, int id, const RECT& rect,
                         bool startsGroup);

// Shows the model's value (option selected, box ticked, list entry selected) on the window.
void ShowValue(HWND window, const Control& control);

// Push buttons tell their container when they gain and lose the focus (BN_SETFOCUS,
// BN_KILLFOCUS), so that the default one follows the focus.
constexpr DWORD kPushButton = BS_PUSHBUTTON | BS_NOTIFY;

// Marks a push button as the default one, which Enter presses and which shows a bold
// border, or as an ordinary one. As in a dialog box, a push button is the default one
// while it holds the focus. (BM_SETSTYLE sets the button's kind; BS_NOTIFY is passed
// along so that it stays.)
inline void ShowAsDefault(HWND button, bool isDefault) {
  const DWORD kind = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  SendMessageW(button, BM_SETSTYLE, kind | BS_NOTIFY, TRUE);
}

// Fills a drive or folder list with the model's entries.
void FillList(HWND window, const Control& control);

// The height of one entry of the folder list, in the font it is drawn in.
int ListEntryHeight(HWND window, HFONT font);

// Draws one entry of the folder list, indented by its level below the drive root.
void DrawListEntry(const DRAWITEMSTRUCT& item, const Control& control);

}  // namespace platform::win32
