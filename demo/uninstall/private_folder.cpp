#include "demo/uninstall/private_folder.h"

#include <windows.h>
#include <ntsecapi.h>  // RtlGenRandom
#include <sddl.h>

namespace demo {
namespace {

// Owned by the administrators, full control for them and SYSTEM, passed on to what the folder
// holds, nothing inherited from above.
constexpr wchar_t kAdministratorsOnly[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// A token that cannot be asked counts as elevated: the folder is then protected all the same.
bool IsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  const bool asked =
      GetTokenInformation(token, TokenElevation, &elevation, sizeof(elevation), &size) != FALSE;
  CloseHandle(token);
  return !asked || elevation.TokenIsElevated != 0;
}

// "Temp" in the Windows folder for an elevated process, the user's temporary folder otherwise;
// without a trailing backslash, incomplete when it cannot be had.
WidePath TemporaryFolder(bool elevated) {
  wchar_t path[MAX_PATH + 1];
  const DWORD length =
      elevated ? GetSystemWindowsDirectoryW(path, MAX_PATH) : GetTempPathW(MAX_PATH + 1, path);
  WidePath folder;
  if (length == 0 || length >= MAX_PATH) {
    folder.MarkIncomplete();
  } else if (elevated) {
    folder.Append(std::wstring_view(path, length)).Append(L"\\Temp");
  } else {
    folder.Append(std::wstring_view(path, length - 1));
  }
  return folder;
}

}  // namespace

WidePath RandomPathIn(const WidePath& folder, std::wstring_view suffix) {
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  unsigned char bytes[8] = {};
  WidePath path = folder;
  if (!RtlGenRandom(bytes, sizeof(bytes))) path.MarkIncomplete();
  path.Append(L"\\plm");
  for (const unsigned char byte : bytes) path.Append(kDigits[byte >> 4]).Append(kDigits[byte & 15]);
  path.Append(suffix);
  return path;
}

WidePath NewPrivateFolder() {
  const bool elevated = IsElevated();
  const WidePath folder = RandomPathIn(TemporaryFolder(elevated), {});
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!folder.complete() ||
      (elevated && !ConvertStringSecurityDescriptorToSecurityDescriptorW(
                       kAdministratorsOnly, SDDL_REVISION_1, &descriptor, nullptr))) {
    return WidePath();
  }
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
  // Fails on every name that exists, a link included: a folder is never taken over.
  const bool created = CreateDirectoryW(folder.c_str(), &attributes) != FALSE;
  if (descriptor != nullptr) LocalFree(descriptor);
  return created ? folder : WidePath();
}

}  // namespace demo
