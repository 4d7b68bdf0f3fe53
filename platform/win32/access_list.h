#pragma once
// Security descriptors for what the program makes while it runs elevated, written in the
// system's descriptor language (SDDL): protected from the access that a folder would pass on.
#include <windows.h>

namespace platform::win32 {

// Administrators and the system change it, users read and run what it holds: as Program Files.
inline constexpr wchar_t kProgramFilesAccess[] =
    L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";
// Administrators and the system alone.
inline constexpr wchar_t kAdministratorsOnly[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

// The SECURITY_ATTRIBUTES that a call takes, for a descriptor given in SDDL.
class AccessList {
 public:
  explicit AccessList(const wchar_t* sddl);
  ~AccessList();
  AccessList(const AccessList&) = delete;
  AccessList& operator=(const AccessList&) = delete;

  // Null when the descriptor could not be built: the caller must then not go on with less.
  SECURITY_ATTRIBUTES* Attributes() {
    return attributes_.lpSecurityDescriptor != nullptr ? &attributes_ : nullptr;
  }

 private:
  SECURITY_ATTRIBUTES attributes_{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
};

}  // namespace platform::win32
