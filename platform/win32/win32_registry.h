#pragma once
// The registry through advapi32's wide calls. Names and string data are UTF-8 on our side
// and UTF-16 in the registry; sizes of string data are counted in UTF-8 bytes.
#include "platform/services/registry_api.h"

namespace platform::win32 {

class Win32Registry : public RegistryApi {
 public:
  long CreateKey(RegKey root, const std::string& path, RegKey& key) override;
  long OpenKey(RegKey root, const std::string& path, RegKey& key) override;
  long SetValueEx(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
  long QueryValueEx(RegKey key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                    std::uint32_t& size) override;
  long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t capacity) override;
  long CloseKey(RegKey key) override;
};

}  // namespace platform::win32
