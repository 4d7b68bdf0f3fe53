#pragma once
// The registry procedures the setup program needs: create a key, write a string or a
// number, read a string with a default, list the subkeys of a key. Each procedure opens
// the key it works on and closes it before it returns, and reports its own failures.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "platform/platform.h"

namespace integration {

// The subkey names of a key, from index 0, or one of the two statuses below.
using SubkeyList = std::variant<std::vector<std::string>, int>;
constexpr int kKeyNotOpened = -1;
constexpr int kNoSubkeys = -2;

class Registry {
 public:
  explicit Registry(platform::Platform& platform) : platform_(platform) {}

  void CreateRegKey(platform::RegKey rootKey, const std::string& keyPath);
  void SetRegString(platform::RegKey rootKey, const std::string& keyPath, const std::string& valueName,
                    const std::string& valueText);
  void SetRegLong(platform::RegKey rootKey, const std::string& keyPath, const std::string& valueName,
                  std::int32_t valueNumber);
  std::string GetRegString(platform::RegKey rootKey, const std::string& keyPath,
                           const std::string& valueName, const std::string& defaultText);
  SubkeyList EnumRegKeys(platform::RegKey rootKey, const std::string& keyPath);

 private:
  void ShowError(const std::string& text);

  platform::Platform& platform_;
};

}  // namespace integration
