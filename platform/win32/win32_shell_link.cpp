// The file system's Start-menu calls: where every user's programs are, and shell links made
// through the shell's own link object.
#include <windows.h>
#include <shlobj.h>

#include "platform/win32/com_library.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"

namespace platform::win32 {

// shell32 is loaded from the system folder when the Start menu is needed, not imported: the
// program needs it only when no Program Manager answers.
std::string Win32FileSystem::CommonProgramsFolder() {
  const auto folderPath = SystemFunction<decltype(&SHGetFolderPathW)>(
      LoadSystemLibrary(L"shell32.dll"), "SHGetFolderPathW");
  wchar_t path[MAX_PATH];
  if (folderPath == nullptr ||
      folderPath(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
    return {};
  }
  return Utf8(path);
}

int Win32FileSystem::MakeShellLink(const std::string& path, const std::string& target) {
  const ComLibrary com;
  IShellLinkW* const link =
      com.Create<IShellLinkW>(CLSID_ShellLink, CLSCTX_INPROC_SERVER, IID_IShellLinkW);
  if (link == nullptr) return SystemError::kNotEnoughMemory;
  IPersistFile* file = nullptr;
  HRESULT result = link->SetPath(Wide(target).c_str());
  if (SUCCEEDED(result))
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  if (SUCCEEDED(result)) {
    result = file->Save(Wide(path).c_str(), TRUE);
    file->Release();
  }
  link->Release();
  // A failure of the system's file calls carries its error code.
  return SUCCEEDED(result) ? SystemError::kSuccess : HRESULT_CODE(result);
}

}  // namespace platform::win32
