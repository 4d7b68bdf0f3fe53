#include "platform/win32/access_list.h"

#include <sddl.h>

namespace platform::win32 {

AccessList::AccessList(const wchar_t* sddl) {
  ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                       &attributes_.lpSecurityDescriptor, nullptr);
}

AccessList::~AccessList() { LocalFree(attributes_.lpSecurityDescriptor); }

}  // namespace platform::win32
