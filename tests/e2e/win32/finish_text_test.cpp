// The wizard's finish text as the system draws it: the longest that a run can end with, every
// item but the application missing and everything after them, shows whole in its label.
#include <windows.h>

#include <cstdlib>
#include <string>

#include "app/form1.h"
#include "app/run_outcome.h"
#include "backend_services.h"
#include "check.h"
#include "platform/win32/form_window.h"
#include "platform/win32/wide.h"
#include "product/pelmora.h"
#include "tests/e2e/robot/screen_shot.h"

namespace backend_test {

namespace {

std::string LongestFinishText() {
  app::RunOutcome outcome;
  for (std::size_t item = 1; item < product::kProductFiles.size(); ++item)
    outcome.FileNotInstalled(product::kProductFiles[item].installedName);
  outcome.RecordsNotWritten();
  outcome.UninstallEntryNotWritten();
  outcome.GroupItemsMissing(3);  // the application, the help file and the uninstaller
  return outcome.FinishText();
}

// The height that `text` takes, wrapped at the label's width in the label's font.
int WrappedHeight(HWND label, const std::wstring& text) {
  RECT client;
  GetClientRect(label, &client);
  RECT wrapped = client;
  HDC dc = GetDC(label);
  const HGDIOBJ before =
      SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  DrawTextW(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
  SelectObject(dc, before);
  ReleaseDC(label, dc);
  std::printf("   %d x %d pixels of text in a label of %d x %d\n",
              static_cast<int>(wrapped.right - wrapped.left),
              static_cast<int>(wrapped.bottom - wrapped.top), static_cast<int>(client.right),
              static_cast<int>(client.bottom));
  return wrapped.bottom - wrapped.top;
}

}  // namespace

void FinishTextTests() {
  Section("the wizard: the longest finish text fits its label");
  Services services;
  app::SharedState state;
  app::Form1 wizard(services.platform, state);
  wizard.Show();
  wizard.Frame1(1).SetVisible(false);
  wizard.Frame1(4).SetVisible(true);
  const std::string text = LongestFinishText();
  wizard.Label11.SetCaption(text);
  services.toolkit.DoEvents();

  const auto& peer = *static_cast<platform::win32::FormWindow*>(wizard.Peer());
  const HWND label = peer.WindowOf(wizard.Label11);
  CHECK(label != nullptr);
  RECT client;
  GetClientRect(label, &client);
  CHECK(WrappedHeight(label, platform::win32::Wide(text)) <= client.bottom);
  // For the eye: where the test is given a folder for pictures.
  if (const char* shots = std::getenv("SHOTS")) {
    RedrawWindow(peer.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    services.toolkit.DoEvents();
    CHECK(robot::SaveScreen(platform::win32::Wide(shots) + L"\\finish-text-longest.bmp"));
  }
}

}  // namespace backend_test
