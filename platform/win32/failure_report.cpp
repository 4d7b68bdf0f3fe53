#include "platform/win32/failure_report.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace platform::win32 {

void ShowFailureReport(const std::string& text) {
  const std::string report =
      "Setup cannot go on because of an error:\n\n" + text + "\n\nThe setup program will now end.";
  MessageBoxW(GetActiveWindow(), Wide(report).c_str(), L"Pelmora Setup",
              MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
}

void EndWithFailure(const std::string& text) noexcept {
  try {
    ShowFailureReport(text);
  } catch (...) {
    // Out of memory for the report itself: end without it.
  }
  ExitProcess(1);
}

}  // namespace platform::win32
