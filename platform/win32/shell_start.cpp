#include "platform/win32/shell_start.h"

#include <windows.h>

#include <exdisp.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "platform/win32/com_library.h"
#include "platform/win32/system_library.h"

namespace platform::win32 {

namespace {

// The automation strings that the request needs, from oleaut32, loaded with COM at the end.
struct Strings {
  decltype(&SysAllocString) allocate;
  decltype(&SysFreeString) free;
};

bool LoadStrings(Strings& strings) {
  const HMODULE automation = LoadSystemLibrary(L"oleaut32.dll");
  strings.allocate = SystemFunction<decltype(strings.allocate)>(automation, "SysAllocString");
  strings.free = SystemFunction<decltype(strings.free)>(automation, "SysFreeString");
  return automation != nullptr;
}

// The shell's automation object, reached from the list of the shell's windows through the
// desktop's window and its view; null when a step fails.
IShellDispatch2* FindShell(const ComLibrary& com) {
  IShellWindows* windows =
      com.Create<IShellWindows>(CLSID_ShellWindows, CLSCTX_LOCAL_SERVER, IID_IShellWindows);
  IDispatch* desktop = nullptr;
  IServiceProvider* services = nullptr;
  IShellBrowser* browser = nullptr;
  IShellView* view = nullptr;
  IDispatch* background = nullptr;
  IShellFolderViewDual* folderView = nullptr;
  IDispatch* application = nullptr;
  IShellDispatch2* shell = nullptr;
  VARIANT desktopFolder{};
  desktopFolder.vt = VT_I4;
  desktopFolder.lVal = CSIDL_DESKTOP;
  VARIANT none{};
  long window = 0;
  if (windows != nullptr &&
      windows->FindWindowSW(&desktopFolder, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH,
                            &desktop) == S_OK &&
      SUCCEEDED(
          desktop->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(&services))) &&
      SUCCEEDED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser,
                                       reinterpret_cast<void**>(&browser))) &&
      SUCCEEDED(browser->QueryActiveShellView(&view)) &&
      SUCCEEDED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch,
                                    reinterpret_cast<void**>(&background))) &&
      SUCCEEDED(background->QueryInterface(IID_IShellFolderViewDual,
                                           reinterpret_cast<void**>(&folderView))) &&
      SUCCEEDED(folderView->get_Application(&application))) {
    application->QueryInterface(IID_IShellDispatch2, reinterpret_cast<void**>(&shell));
  }
  IUnknown* const passed[] = {windows, desktop,    services,   browser,
                              view,    background, folderView, application};
  for (IUnknown* step : passed) {
    if (step != nullptr) step->Release();
  }
  return shell;
}

// The shell runs the program as its own child.
bool AskToRun(IShellDispatch2* shell, BSTR path, BSTR folder) {
  // We hold the foreground; the program that the shell starts may take it.
  AllowSetForegroundWindow(ASFW_ANY);
  VARIANT none{};
  VARIANT startIn{};
  startIn.vt = VT_BSTR;
  startIn.bstrVal = folder;
  VARIANT show{};
  show.vt = VT_I4;
  show.lVal = SW_SHOWNORMAL;
  return SUCCEEDED(shell->ShellExecute(path, none, startIn, none, show));
}

}  // namespace

bool StartThroughShell(const std::wstring& path, const std::wstring& folder) {
  ComLibrary com;
  Strings strings;
  if (!com.ready() || !LoadStrings(strings)) return false;
  const BSTR file = strings.allocate(path.c_str());
  const BSTR startIn = strings.allocate(folder.c_str());
  IShellDispatch2* shell = FindShell(com);
  const bool started =
      shell != nullptr && file != nullptr && startIn != nullptr && AskToRun(shell, file, startIn);
  if (shell != nullptr) shell->Release();
  strings.free(file);
  strings.free(startIn);
  return started;
}

}  // namespace platform::win32
