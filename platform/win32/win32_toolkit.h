#pragma once
// The toolkit over real windows: message boxes, the input box, event pumping, starting and
// ending programs, and the screen's measures.
#include <windows.h>

#include <vector>

#include "platform/services/toolkit.h"

namespace platform::win32 {

class FormWindow;

class Win32Toolkit : public Toolkit {
 public:
  int MsgBox(const std::string& text, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  void DoEvents() override;
  StartResult StartProgram(const std::string& path) override;
  bool ClaimInstance(const std::string& name) override;
  [[noreturn]] void EndProgram() override;
  [[noreturn]] void Fail(const std::string& text) override;
  void SetFailureCleanUp(FailureCleanUp cleanUp) override;
  bool GetWorkArea(PixelRect& area) override;
  int PixelsPerInch() override;
  std::string ThousandsSeparator() override;
  std::string ProgramFile() override;
  std::unique_ptr<FormPeer> CreateFormPeer(Form& form) override;

  // The forms' windows tell the toolkit when they come and go.
  void FormOpened(FormWindow& form);
  void FormClosed(FormWindow& form);
  // The backdrop's window, which owns the other forms so that it stays behind them; or null.
  HWND BackdropWindow() const;

 private:
  std::vector<FormWindow*> forms_;
};

}  // namespace platform::win32
