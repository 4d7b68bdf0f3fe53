#include "platform/win32/failure_report.h"

#include <windows.h>

#include "platform/win32/box_owner.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

FailureCleanUp registeredCleanUp;

void ShowFailureReport(const std::string& text) {
  const std::string report =
      "Setup cannot go on because of an error:\n\n" + text + "\n\nThe setup program will now end.";
  MessageBoxW(BoxOwner(), Wide(report).c_str(), L"Pelmora Setup",
              MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
}

}  // namespace

void SetFailureCleanUp(FailureCleanUp cleanUp) { registeredCleanUp = cleanUp; }

void EndWithFailure(const std::string& text) {
  // A failure while the program is ending (no memory for the report, a clean-up that fails)
  // ends it at once.
  static bool ending = false;
  if (!ending) {
    ending = true;
    ShowFailureReport(text);
    if (registeredCleanUp.run != nullptr) registeredCleanUp.run(registeredCleanUp.context);
  }
  ExitProcess(1);
}

}  // namespace platform::win32
