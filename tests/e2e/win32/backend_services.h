#pragma once
// The Windows backend's services as one platform, as a program of ours starts with them.
#include "platform/services/platform.h"
#include "platform/win32/win32_dde.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_lz.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_toolkit.h"

namespace backend_test {

struct Services {
  platform::win32::Win32Toolkit toolkit;
  platform::win32::Win32FileSystem files;
  platform::win32::Win32Registry registry;
  platform::win32::Win32Lz lz;
  platform::win32::Win32Dde dde;
  platform::Platform platform{toolkit, files, registry, lz, dde};
};

}  // namespace backend_test
