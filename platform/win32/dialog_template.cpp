#include "platform/win32/dialog_template.h"

namespace platform::win32 {

DialogTemplate::DialogTemplate(DWORD style, DialogBox box, const wchar_t* title, WORD points) {
  AppendDword(style | DS_SHELLFONT);
  AppendDword(0);  // extended style
  Append(0);       // number of items, counted by AddItem
  AppendBox(box);
  Append(0);  // no menu
  Append(0);  // the standard dialog class
  AppendText(title);
  Append(points);
  AppendText(L"MS Shell Dlg");
}

void DialogTemplate::AddItem(DialogItemClass itemClass, DWORD style, DialogBox box, WORD id,
                             const wchar_t* text) {
  AlignToDword();
  AppendDword(style | WS_CHILD | WS_VISIBLE);
  AppendDword(0);  // extended style
  AppendBox(box);
  Append(id);
  Append(0xFFFF);  // a predefined class, by atom
  Append(static_cast<WORD>(itemClass));
  AppendText(text);
  Append(0);  // no creation data
  ++words_[kItemCountAt];
}

void DialogTemplate::AppendDword(DWORD value) {
  Append(LOWORD(value));
  Append(HIWORD(value));
}

void DialogTemplate::AppendBox(DialogBox box) {
  for (short value : {box.x, box.y, box.width, box.height}) Append(static_cast<WORD>(value));
}

void DialogTemplate::AppendText(const wchar_t* text) {
  do {
    Append(static_cast<WORD>(*text));
  } while (*text++ != L'\0');
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2 != 0) Append(0);
}

}  // namespace platform::win32
