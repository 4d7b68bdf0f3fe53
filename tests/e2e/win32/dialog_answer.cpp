#include "dialog_answer.h"

namespace backend_test {

namespace {

constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a message box's text

std::wstring awaitedTitle;
std::function<void(HWND)> pendingAction;
UINT_PTR timer = 0;

void CALLBACK LookForDialog(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = FindWindowW(L"#32770", awaitedTitle.c_str());
  if (dialog == nullptr || !IsWindowVisible(dialog)) return;
  KillTimer(nullptr, timer);
  const auto action = std::move(pendingAction);
  action(dialog);
}

}  // namespace

void AnswerDialog(const std::wstring& title, std::function<void(HWND)> action) {
  awaitedTitle = title;
  pendingAction = std::move(action);
  timer = SetTimer(nullptr, 0, 100, LookForDialog);
}

std::wstring DialogText(HWND window) {
  HWND message = GetDlgItem(window, kMessageTextId);
  HWND source = message != nullptr ? message : window;
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(source)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextW(source, text.data(), static_cast<int>(text.size()))));
  return text;
}

int DefaultButton(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return GetDlgCtrlID(child);
  }
  return 0;
}

}  // namespace backend_test
