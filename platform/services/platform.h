#pragma once
// The services of one platform, reached through one reference.
#include "platform/services/dde_api.h"
#include "platform/services/file_system.h"
#include "platform/services/lz_api.h"
#include "platform/services/registry_api.h"
#include "platform/services/toolkit.h"

namespace platform {

struct Platform {
  Toolkit& toolkit;
  FileSystem& files;
  RegistryApi& registry;
  LzApi& lz;
  DdeApi& dde;
};

}  // namespace platform
