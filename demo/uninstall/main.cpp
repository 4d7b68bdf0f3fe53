// Uninstall PLM.exe: removes what the setup program left behind (see removal_steps.h). It asks
// first, hands the work to a copy of itself in a private folder (see finishing_copy.h) and
// reports what it could not remove. Its exit code is 0 unless something was left behind.
#include <windows.h>

#include "platform/win32/process/dll_search.h"
#include "demo/common/message_box.h"
#include "demo/common/own_folder.h"
#include "demo/uninstall/finishing_copy.h"
#include "demo/uninstall/removal_steps.h"
#include "demo/uninstall/uninstall_texts.h"

namespace {

int Tell(std::string_view text, UINT icon) {
  return demo::ShowMessage(nullptr, text, demo::kUninstallTitle, MB_OK | icon | MB_SETFOREGROUND);
}

int Finish(const demo::WidePath& folder) {
  demo::ProductRemoval removal(folder);
  const bool complete = demo::RemoveAll(removal.Steps());
  Tell(demo::Report(removal.Steps()).view(), complete ? MB_ICONINFORMATION : MB_ICONWARNING);
  return complete ? 0 : 1;
}

int Begin() {
  const demo::WidePath folder = demo::OwnFolder();
  if (!demo::AnythingLeft(demo::ProductRemoval(folder).Steps())) {
    Tell(demo::kNothingLeftText, MB_ICONINFORMATION);
    return 0;
  }
  const int answer =
      demo::ShowMessage(nullptr, demo::kQuestionText, demo::kUninstallTitle,
                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND);
  if (answer != IDYES) return 0;
  // Without a copy, do the work from here: only this program's file and folder stay behind.
  return demo::StartFinishingCopy(folder) ? 0 : Finish(folder);
}

int Run() {
  const auto takeover = demo::TakeOverFromOriginal();
  if (!takeover) return Begin();
  const int exitCode = Finish(takeover->folder);
  demo::LeavePrivateFolder(takeover->ownFile);
  return exitCode;
}

}  // namespace

// The process starts here, not in the C runtime's start-up code (see pelmora_program_start).
extern "C" [[noreturn, gnu::force_align_arg_pointer]] void ProgramStart() {
  platform::win32::RestrictDllSearch();
  ExitProcess(static_cast<UINT>(Run()));
}
