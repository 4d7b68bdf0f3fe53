#include "platform/win32/input_box.h"

#include "platform/win32/dialog_template.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kTextId = 101;

struct InputBoxState {
  std::wstring prompt;
  std::wstring title;
  std::wstring text;  // the default going in, the typed text coming out
};

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Start(HWND dialog, const InputBoxState& state) {
  SetWindowTextW(dialog, state.title.c_str());
  SetDlgItemTextW(dialog, kPromptId, state.prompt.c_str());
  HWND field = GetDlgItem(dialog, kTextId);
  SetWindowTextW(field, state.text.c_str());
  SendMessageW(field, EM_SETSEL, 0, -1);
  SetFocus(field);
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    Start(dialog, *reinterpret_cast<InputBoxState*>(lParam));
    return FALSE;  // the focus has been set
  }
  if (message != WM_COMMAND) return FALSE;
  const WORD id = LOWORD(wParam);
  if (id == IDOK) {
    auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    state->text = WindowText(GetDlgItem(dialog, kTextId));
  }
  if (id != IDOK && id != IDCANCEL) return FALSE;
  EndDialog(dialog, id);
  return TRUE;
}

}  // namespace

std::string ShowInputBox(HWND owner, const std::string& prompt, const std::string& title,
                         const std::string& defaultText) {
  // Laid out in dialog units: prompt at the top left, the buttons to its right, the line below.
  DialogTemplate layout(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
                        {0, 0, 250, 82}, L"", 8);
  layout.AddItem(DialogItemClass::kStatic, SS_LEFT | SS_NOPREFIX, {7, 7, 180, 44}, kPromptId, L"");
  layout.AddItem(DialogItemClass::kButton, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
                 {193, 7, 50, 14}, IDOK, L"OK");
  layout.AddItem(DialogItemClass::kButton, BS_PUSHBUTTON | WS_TABSTOP, {193, 25, 50, 14}, IDCANCEL,
                 L"Cancel");
  layout.AddItem(DialogItemClass::kEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP,
                 {7, 60, 236, 14}, kTextId, L"");
  InputBoxState state{Wide(prompt), Wide(title), Wide(defaultText)};
  const INT_PTR answer =
      DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner, InputBoxProcedure,
                              reinterpret_cast<LPARAM>(&state));
  return answer == IDOK ? Utf8(state.text) : std::string();
}

}  // namespace platform::win32
