#pragma once
// A dialog box template built in memory, in dialog units: the system lays the dialog out
// in its font at the screen's DPI.
#include <windows.h>

#include <vector>

namespace platform::win32 {

// The predefined classes of dialog items, by their atoms.
enum class DialogItemClass : WORD { kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082 };

struct DialogBox {
  short x, y, width, height;
};

class DialogTemplate {
 public:
  // The dialog uses the shell's dialog font (DS_SHELLFONT) at `points`.
  DialogTemplate(DWORD style, DialogBox box, const wchar_t* title, WORD points);

  void AddItem(DialogItemClass itemClass, DWORD style, DialogBox box, WORD id, const wchar_t* text);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Append(WORD word) { words_.push_back(word); }
  void AppendDword(DWORD value);
  void AppendBox(DialogBox box);
  void AppendText(const wchar_t* text);
  void AlignToDword();

  std::vector<WORD> words_;
  static constexpr std::size_t kItemCountAt = 4;  // cdit, after style and extended style
};

}  // namespace platform::win32
