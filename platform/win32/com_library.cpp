#include "platform/win32/com_library.h"

#include "platform/win32/system_library.h"

namespace platform::win32 {

// Every system that has ole32 has these functions.
ComLibrary::ComLibrary()
    : ole_(LoadSystemLibrary(L"ole32.dll")),
      createInstance_(SystemFunction<decltype(&CoCreateInstance)>(ole_, "CoCreateInstance")) {
  if (const auto initialize = SystemFunction<decltype(&CoInitialize)>(ole_, "CoInitialize"))
    initialized_ = initialize(nullptr);
}

ComLibrary::~ComLibrary() {
  if (SUCCEEDED(initialized_))
    SystemFunction<decltype(&CoUninitialize)>(ole_, "CoUninitialize")();
}

}  // namespace platform::win32
