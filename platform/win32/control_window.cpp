#include "platform/win32/control_window.h"

#include <commctrl.h>

#include "platform/forms/dir_list.h"
#include "platform/forms/drive_list.h"

#include "platform/win32/container_window.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

struct WindowKind {
  const wchar_t* className;
  DWORD style;
  DWORD exStyle;
};

// Option buttons and check boxes are not automatic: their checks follow the model,
// which decides what a click does.
WindowKind KindOf(const Control& control) {
  constexpr DWORD kFocusable = WS_TABSTOP;
  switch (control.Kind()) {
    case ControlKind::kFrame:
      return {ContainerClass(), 0, WS_EX_CONTROLPARENT};
    case ControlKind::kPictureBox:
      return {ContainerClass(), 0, WS_EX_CONTROLPARENT | WS_EX_CLIENTEDGE};
    case ControlKind::kImage:
      return {WC_STATICW, SS_ICON, 0};
    case ControlKind::kLabel: {
      const bool centred = static_cast<const Label&>(control).GetAlignment() == Alignment::kCentre;
      return {WC_STATICW, static_cast<DWORD>((centred ? SS_CENTER : SS_LEFT) | SS_NOPREFIX), 0};
    }
    case ControlKind::kCommandButton:
      return {WC_BUTTONW, kPushButton | kFocusable, 0};
    case ControlKind::kOptionButton:
      return {WC_BUTTONW, BS_RADIOBUTTON | kFocusable, 0};
    case ControlKind::kCheckBox:
      return {WC_BUTTONW, BS_CHECKBOX | kFocusable, 0};
    case ControlKind::kTextBox:
      return {WC_EDITW, ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | kFocusable,
              WS_EX_CLIENTEDGE};
    case ControlKind::kDriveList:
      return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | kFocusable, 0};
    case ControlKind::kDirList:
      return {WC_LISTBOXW,
              LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | WS_VSCROLL |
                  kFocusable,
              WS_EX_CLIENTEDGE};
    case ControlKind::kShape:
      break;
  }
  return {WC_STATICW, 0, 0};
}

}  // namespace

bool HasOwnWindow(const Control& control) {
  if (control.Kind() == ControlKind::kShape) return false;
  return control.Kind() != ControlKind::kLabel || !static_cast<const Label&>(control).Transparent();
}

bool IsContainer(const Control& control) {
  return control.Kind() == ControlKind::kFrame || control.Kind() == ControlKind::kPictureBox;
}

HWND CreateControlWindow(const Control& control, HWND parent, int id, const RECT& rect,
                         bool startsGroup) {
  const WindowKind kind = KindOf(control);
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kind.style;
  if (IsContainer(control)) style |= WS_CLIPCHILDREN;
  if (startsGroup) style |= WS_GROUP;
  if (control.Visible()) style |= WS_VISIBLE;
  if (!control.Enabled()) style |= WS_DISABLED;
  HWND window = CreateWindowExW(
      kind.exStyle, kind.className, Wide(control.Caption()).c_str(), style, rect.left, rect.top,
      rect.right - rect.left, rect.bottom - rect.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (window != nullptr) {
    FillList(window, control);
    ShowValue(window, control);
  }
  return window;
}

void ShowValue(HWND window, const Control& control) {
  switch (control.Kind()) {
    case ControlKind::kOptionButton: {
      const bool selected = static_cast<const OptionButton&>(control).Value();
      SendMessageW(window, BM_SETCHECK, selected ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    }
    case ControlKind::kCheckBox: {
      const bool ticked = static_cast<const CheckBox&>(control).Value() == 1;
      SendMessageW(window, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    }
    case ControlKind::kDriveList: {
      const int index = static_cast<const DriveList&>(control).ListIndex();
      SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      break;
    }
    case ControlKind::kDirList: {
      const int index = static_cast<const DirList&>(control).ListIndex();
      SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
      break;
    }
    default:
      break;
  }
}

void FillList(HWND window, const Control& control) {
  if (control.Kind() == ControlKind::kDriveList) {
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : static_cast<const DriveList&>(control).Entries()) {
      SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    }
  } else if (control.Kind() == ControlKind::kDirList) {
    SendMessageW(window, WM_SETREDRAW, FALSE, 0);
    SendMessageW(window, LB_RESETCONTENT, 0, 0);
    for (const DirEntry& entry : static_cast<const DirList&>(control).Entries()) {
      SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry.name).c_str()));
    }
    SendMessageW(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
  }
}

int ListEntryHeight(HWND window, HFONT font) {
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return metrics.tmHeight + 2;
}

void DrawListEntry(const DRAWITEMSTRUCT& item, const Control& control) {
  const auto& entries = static_cast<const DirList&>(control).Entries();
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID < entries.size()) {
    const DirEntry& entry = entries[item.itemID];
    RECT text = item.rcItem;
    TEXTMETRICW metrics{};
    GetTextMetricsW(item.hDC, &metrics);
    text.left += metrics.tmAveCharWidth * (1 + 2 * entry.level);  // each level one step in
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::wstring name = Wide(entry.name);
    DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  if ((item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace platform::win32
