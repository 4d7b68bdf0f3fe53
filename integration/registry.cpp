#include "integration/registry.h"

#include <algorithm>
#include <array>

#include "platform/services/toolkit.h"

namespace integration {

namespace {

using platform::RegKey;
using platform::RegStatus::kSuccess;

constexpr char kTitle[] = "Hata - Error";
constexpr int kErrorStyle =
    platform::MsgBoxStyle::kSystemModal | platform::MsgBoxStyle::kExclamation;
constexpr std::uint32_t kNameBufferSize = 255;

// The text before the first NUL, or all of it when it holds none.
std::string TextBeforeNul(const char* bytes, std::size_t size) {
  return std::string(bytes, std::find(bytes, bytes + size, '\0'));
}

}  // namespace

void Registry::ShowError(const std::string& text) {
  platform_.toolkit.MsgBox(text, kErrorStyle, kTitle);
}

bool Registry::CreateRegKey(RegKey rootKey, const std::string& keyPath) {
  RegKey key = 0;
  if (platform_.registry.CreateKey(rootKey, keyPath, key) != kSuccess) {
    ShowError("Registry anahtarı oluşturulamadı. Registry key could not be created!");
    return false;
  }
  platform_.registry.CloseKey(key);
  return true;
}

bool Registry::SetValue(RegKey rootKey, const std::string& keyPath, const std::string& valueName,
                        std::uint32_t type, std::span<const std::uint8_t> data) {
  RegKey key = 0;
  if (platform_.registry.CreateKey(rootKey, keyPath, key) != kSuccess) return false;
  const long written = platform_.registry.SetValueEx(key, valueName, type, data.data(),
                                                     static_cast<std::uint32_t>(data.size()));
  platform_.registry.CloseKey(key);
  return written == kSuccess;
}

// A key that cannot be created or opened is reported as the string that cannot be written.
bool Registry::SetRegString(RegKey rootKey, const std::string& keyPath,
                            const std::string& valueName, const std::string& valueText) {
  // The text with its terminating NUL.
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(valueText.c_str()),
                                           valueText.size() + 1);
  if (SetValue(rootKey, keyPath, valueName, platform::RegType::kSz, data)) return true;
  ShowError("Registry'e string yazılamadı! Registry value(string) could not be written!");
  return false;
}

bool Registry::SetRegLong(RegKey rootKey, const std::string& keyPath, const std::string& valueName,
                          std::int32_t valueNumber) {
  const auto bits = static_cast<std::uint32_t>(valueNumber);
  const std::array<std::uint8_t, 4> data = {
      static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
      static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
  if (SetValue(rootKey, keyPath, valueName, platform::RegType::kDword, data)) return true;
  ShowError("Registry'e sayı yazılamadı! Registry value(number) could not be written!");
  return false;
}

std::string Registry::GetRegString(RegKey rootKey, const std::string& keyPath,
                                   const std::string& valueName, const std::string& defaultText) {
  std::string result = defaultText;
  RegKey key = 0;
  if (platform_.registry.OpenKey(rootKey, keyPath, key) != kSuccess) return result;
  std::uint32_t type = platform::RegType::kNone;
  std::uint32_t length = 0;
  if (platform_.registry.QueryValueEx(key, valueName, type, nullptr, length) == kSuccess &&
      type == platform::RegType::kSz) {
    std::string buffer(length, ' ');
    std::uint32_t secondType = platform::RegType::kNone;
    // The value may have changed, or gone, since the first query.
    if (platform_.registry.QueryValueEx(key, valueName, secondType,
                                        reinterpret_cast<std::uint8_t*>(buffer.data()),
                                        length) == kSuccess &&
        secondType == platform::RegType::kSz && length <= buffer.size()) {
      result = TextBeforeNul(buffer.data(), length);
    }
  }
  platform_.registry.CloseKey(key);
  return result;
}

SubkeyList Registry::EnumRegKeys(RegKey rootKey, const std::string& keyPath) {
  RegKey key = 0;
  if (platform_.registry.OpenKey(rootKey, keyPath, key) != kSuccess) return {kKeyNotOpened, {}};
  std::vector<std::string> names;
  for (std::uint32_t index = 0;; ++index) {
    char buffer[kNameBufferSize];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    const long status = platform_.registry.EnumKey(key, index, buffer, kNameBufferSize);
    // A name too long for the buffer cannot be one we look for: pass over it rather than
    // end the listing before the names that follow it.
    if (status == platform::RegStatus::kMoreData) continue;
    if (status != kSuccess) break;
    names.push_back(TextBeforeNul(buffer, kNameBufferSize));
  }
  platform_.registry.CloseKey(key);
  if (names.empty()) return {kNoSubkeys, {}};
  return {kListed, std::move(names)};
}

}  // namespace integration
