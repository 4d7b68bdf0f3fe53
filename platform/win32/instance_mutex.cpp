#include "platform/win32/instance_mutex.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace platform::win32 {

namespace {

// An elevated instance's mutex: owned by the Administrators group, which no program without
// elevation can name as an object's owner, and open to administrators and the system only.
constexpr wchar_t kElevatedMutexSecurity[] = L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)";

bool IsElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  TOKEN_ELEVATION elevation{};  // stays 0 where the system does not know elevation
  DWORD size = 0;
  GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size);
  CloseHandle(token);
  return elevation.TokenIsElevated != 0;
}

// Whether an elevated instance made the mutex: its owner is the Administrators group, or the
// system when the program runs as the system.
bool MadeElevated(HANDLE mutex) {
  PSID owner = nullptr;
  PSECURITY_DESCRIPTOR security = nullptr;
  if (GetSecurityInfo(mutex, SE_KERNEL_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                      nullptr, &security) != ERROR_SUCCESS) {
    return false;
  }
  const bool elevated = owner != nullptr && (IsWellKnownSid(owner, WinBuiltinAdministratorsSid) ||
                                             IsWellKnownSid(owner, WinLocalSystemSid));
  LocalFree(security);
  return elevated;
}

}  // namespace

// A mutex that cannot be opened, denied to us or an object of another kind, was not made by
// an instance of ours (its mutex grants administrators everything): the claim passes.
bool ClaimInstanceMutex(const std::wstring& name) {
  SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
  const bool elevated = IsElevated() && ConvertStringSecurityDescriptorToSecurityDescriptorW(
                                            kElevatedMutexSecurity, SDDL_REVISION_1,
                                            &attributes.lpSecurityDescriptor, nullptr);
  const HANDLE mutex = CreateMutexW(elevated ? &attributes : nullptr, FALSE, name.c_str());
  const bool exists = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
  LocalFree(attributes.lpSecurityDescriptor);
  return !exists || (elevated && !MadeElevated(mutex));
}

}  // namespace platform::win32
