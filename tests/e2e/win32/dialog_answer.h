#pragma once
// Answers a modal dialog of the toolkit from inside its own message loop: a timer looks
// for the dialog by its title and acts on it once it is there.
#include <windows.h>

#include <functional>
#include <string>

namespace backend_test {

void AnswerDialog(const std::wstring& title, std::function<void(HWND)> action);

// The text of a message box (its message), or of any other window.
std::wstring DialogText(HWND window);

// The id of the dialog's default push button, or 0.
int DefaultButton(HWND dialog);

}  // namespace backend_test
