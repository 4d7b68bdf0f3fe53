#include "platform/win32/instance_mutex.h"

#include <windows.h>

#include <aclapi.h>

#include "platform/win32/access_list.h"
#include "platform/win32/elevation.h"

namespace platform::win32 {

namespace {

// An elevated instance's mutex: owned by the Administrators group, which no program without
// elevation can name as an object's owner, and open to administrators and the system only.
constexpr wchar_t kElevatedMutexSecurity[] = L"O:BAD:(A;;GA;;;BA)(A;;GA;;;SY)";

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
  AccessList access(kElevatedMutexSecurity);
  const bool elevated = RunsElevated() && access.Attributes() != nullptr;
  const HANDLE mutex = CreateMutexW(elevated ? access.Attributes() : nullptr, FALSE, name.c_str());
  const bool exists = mutex != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
  return !exists || (elevated && !MadeElevated(mutex));
}

}  // namespace platform::win32
