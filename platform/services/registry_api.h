#pragma once
// The system registry, by the operations of advapi32 and their conventions:
// every call returns a status, 0 on success or the system error code.
// Names and string data are UTF-8; a REG_SZ datum is the text followed by one NUL byte.
#include <cstdint>
#include <string>

namespace platform {

using RegKey = std::uintptr_t;

constexpr RegKey kHKeyLocalMachine = 0x80000002;

namespace RegType {
constexpr std::uint32_t kNone = 0;
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kBinary = 3;
constexpr std::uint32_t kDword = 4;
}  // namespace RegType

namespace RegStatus {
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidParameter = 87;
constexpr long kMoreData = 234;
constexpr long kNoMoreItems = 259;
}  // namespace RegStatus

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;

  // RegCreateKey: creates the key with every missing level, or opens it.
  virtual long CreateKey(RegKey root, const std::string& path, RegKey& key) = 0;
  // RegOpenKey: opens an existing key.
  virtual long OpenKey(RegKey root, const std::string& path, RegKey& key) = 0;
  // RegSetValueEx: creates or replaces a value.
  virtual long SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                          const std::uint8_t* data, std::uint32_t size) = 0;
  // RegQueryValueEx: with a null `data`, reports the type and the size only; otherwise
  // `size` holds the buffer's length on entry and the datum's length on return.
  virtual long QueryValueEx(RegKey key, const std::string& name, std::uint32_t& type,
                            std::uint8_t* data, std::uint32_t& size) = 0;
  // RegEnumKey: writes the name of the subkey at `index`, ended by a NUL, into the buffer.
  virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t capacity) = 0;
  // RegCloseKey.
  virtual long CloseKey(RegKey key) = 0;
};

}  // namespace platform
