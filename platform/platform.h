#pragma once
// The services of one platform, reached through one reference.
#include "platform/dde_api.h"
#include "platform/file_system.h"
#include "platform/lz_api.h"
#include "platform/registry_api.h"
#include "platform/toolkit.h"

namespace platform {

struct Platform {
  Toolkit& toolkit;
  FileSystem& files;
  RegistryApi& registry;
  LzApi& lz;
  DdeApi& dde;
};

}  // namespace platform
