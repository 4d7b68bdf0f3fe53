#include "platform/win32/win32_toolkit.h"

#include <algorithm>

#include "platform/win32/box_owner.h"
#include "platform/win32/elevation.h"
#include "platform/win32/failure_report.h"
#include "platform/win32/form_window.h"
#include "platform/win32/input_box.h"
#include "platform/win32/instance_mutex.h"
#include "platform/win32/message_pump.h"
#include "platform/win32/module_path.h"
#include "platform/win32/screen.h"
#include "platform/win32/shell_start.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

// The styles are the system's own MB_ flags; the form that shows the box owns it and waits
// for it.
int Win32Toolkit::MsgBox(const std::string& text, int style, const std::string& title) {
  return MessageBoxW(BoxOwner(), Wide(text).c_str(), Wide(title).c_str(), static_cast<UINT>(style));
}

std::string Win32Toolkit::InputBox(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) {
  return ShowInputBox(BoxOwner(), prompt, title, defaultText);
}

void Win32Toolkit::DoEvents() { PumpPendingMessages(); }

// A named mutex of the user's session.
bool Win32Toolkit::ClaimInstance(const std::string& name) {
  return ClaimInstanceMutex(Wide("Local\\" + name));
}

// An elevated setup lends its rights to nothing it starts for the user: the shell starts the
// program as the signed-in user, or nothing does. Otherwise the path is both the application
// name and, quoted, the command line, so that neither the current folder nor a blank in the
// path decides what starts. The program starts in its own folder.
StartResult Win32Toolkit::StartProgram(const std::string& path) {
  const std::wstring application = Wide(path);
  const std::wstring folder = Wide(FolderOf(path));
  if (RunsElevated()) {
    return StartThroughShell(application, folder) ? StartResult::kStarted
                                                  : StartResult::kOnlyElevated;
  }
  std::wstring commandLine = Wide("\"" + path + "\"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    return StartResult::kFailed;
  }
  // We hold the foreground; the new program may take it.
  AllowSetForegroundWindow(started.dwProcessId);
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return StartResult::kStarted;
}

void Win32Toolkit::EndProgram() { ExitProcess(0); }

void Win32Toolkit::Fail(const std::string& text) { EndWithFailure(text); }

void Win32Toolkit::SetFailureCleanUp(FailureCleanUp cleanUp) { win32::SetFailureCleanUp(cleanUp); }

bool Win32Toolkit::GetWorkArea(PixelRect& area) {
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return false;
  area = {work.left, work.top, work.right, work.bottom};
  return true;
}

// The system's pixels are square: one DPI serves both directions.
int Win32Toolkit::PixelsPerInch() { return SystemDpi(); }

std::string Win32Toolkit::ThousandsSeparator() {
  wchar_t separator[8] = {};  // the system allows at most four characters
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, separator, 8) == 0) return ",";
  return Utf8(separator);
}

std::string Win32Toolkit::ProgramFile() { return ModulePath(); }

std::unique_ptr<FormPeer> Win32Toolkit::CreateFormPeer(Form& form) {
  return std::make_unique<FormWindow>(*this, form);
}

void Win32Toolkit::FormOpened(FormWindow& form) { forms_.push_back(&form); }

void Win32Toolkit::FormClosed(FormWindow& form) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), &form), forms_.end());
  // Without windows nothing can happen any more: let the event loop end.
  if (forms_.empty()) PostQuitMessage(0);
}

HWND Win32Toolkit::BackdropWindow() const {
  for (const FormWindow* form : forms_) {
    if (form->IsBackdrop()) return form->Window();
  }
  return nullptr;
}

}  // namespace platform::win32
