#pragma once
// The registry procedures the setup program needs: create a key, write a string or a
// number, read a string with a default, list the subkeys of a key. Each procedure opens
// the key it works on and closes it before it returns, and reports its own failures. The
// writing procedures also tell their caller whether the write was done.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/services/platform.h"

namespace integration {

// The subkey names of a key, from index 0, with kListed; or no names, with one of the two
// statuses that tell why.
constexpr int kListed = 0;
constexpr int kKeyNotOpened = -1;
constexpr int kNoSubkeys = -2;
struct SubkeyList {
  int status = kListed;
  std::vector<std::string> names;
  friend bool operator==(const SubkeyList&, const SubkeyList&) = default;
};

class Registry {
 public:
  explicit Registry(platform::Platform& platform) : platform_(platform) {}

  bool CreateRegKey(platform::RegKey rootKey, const std::string& keyPath);
  bool SetRegString(platform::RegKey rootKey, const std::string& keyPath,
                    const std::string& valueName, const std::string& valueText);
  bool SetRegLong(platform::RegKey rootKey, const std::string& keyPath,
                  const std::string& valueName, std::int32_t valueNumber);
  std::string GetRegString(platform::RegKey rootKey, const std::string& keyPath,
                           const std::string& valueName, const std::string& defaultText);
  SubkeyList EnumRegKeys(platform::RegKey rootKey, const std::string& keyPath);

 private:
  void ShowError(const std::string& text);
  // Creates or opens the key and sets one value; false when either fails.
  bool SetValue(platform::RegKey rootKey, const std::string& keyPath, const std::string& valueName,
                std::uint32_t type, std::span<const std::uint8_t> data);

  platform::Platform& platform_;
};

}  // namespace integration
