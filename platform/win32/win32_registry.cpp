#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <cstring>
#include <string_view>

#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

// The predefined roots are 32-bit values that the system widens with their sign on 64-bit
// builds (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there); real handles pass unchanged.
HKEY ToHkey(RegKey key) {
  if (key >= 0x80000000u && key <= 0x800000FFu) {
    return reinterpret_cast<HKEY>(
        static_cast<LONG_PTR>(static_cast<LONG>(static_cast<DWORD>(key))));
  }
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// A value's type and its stored bytes, whatever their length. The bytes are kept in UTF-16
// units, so that a text datum is read as one without a copy; an odd last byte has a unit
// of its own.
long ReadStored(HKEY key, const std::wstring& name, DWORD& type, std::wstring& stored,
                DWORD& size) {
  size = 0;
  long status = RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size);
  while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    stored.resize((size + 1) / sizeof(wchar_t));
    status = RegQueryValueExW(key, name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(stored.data()), &size);
    if (status == ERROR_SUCCESS) return status;
  }
  return status;
}

// The UTF-8 form of a stored UTF-16 datum; a stored NUL at the end stays at the end.
std::string StoredToText(std::wstring_view wide) {
  const bool terminated = !wide.empty() && wide.back() == L'\0';
  if (terminated) wide.remove_suffix(1);
  std::string text = Utf8(wide);
  if (terminated) text.push_back('\0');
  return text;
}

}  // namespace

long Win32Registry::CreateKey(RegKey root, const std::string& path, RegKey& key) {
  HKEY created = nullptr;
  const long status = RegCreateKeyW(ToHkey(root), Wide(path).c_str(), &created);
  key = FromHkey(created);
  return status;
}

long Win32Registry::OpenKey(RegKey root, const std::string& path, RegKey& key) {
  HKEY opened = nullptr;
  const long status = RegOpenKeyW(ToHkey(root), Wide(path).c_str(), &opened);
  key = FromHkey(opened);
  return status;
}

long Win32Registry::SetValueEx(RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) {
  if (!IsText(type)) return RegSetValueExW(ToHkey(key), Wide(name).c_str(), 0, type, data, size);
  // A text datum is stored in UTF-16, with a terminating NUL when the UTF-8 datum has one.
  std::string_view text(reinterpret_cast<const char*>(data), size);
  const bool terminated = !text.empty() && text.back() == '\0';
  if (terminated) text.remove_suffix(1);
  const std::wstring wide = Wide(text);
  return RegSetValueExW(ToHkey(key), Wide(name).c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(wide.c_str()),
                        static_cast<DWORD>((wide.size() + (terminated ? 1 : 0)) * sizeof(wchar_t)));
}

long Win32Registry::QueryValueEx(RegKey key, const std::string& name, std::uint32_t& type,
                                 std::uint8_t* data, std::uint32_t& size) {
  DWORD storedType = REG_NONE;
  std::wstring stored;
  DWORD storedSize = 0;
  const long status = ReadStored(ToHkey(key), Wide(name), storedType, stored, storedSize);
  if (status != ERROR_SUCCESS) return status;
  type = storedType;
  std::string text;
  std::string_view datum(reinterpret_cast<const char*>(stored.data()), storedSize);
  if (IsText(storedType)) {
    text = StoredToText(std::wstring_view(stored.data(), storedSize / sizeof(wchar_t)));
    datum = text;
  }
  const std::uint32_t capacity = size;
  size = static_cast<std::uint32_t>(datum.size());
  if (data == nullptr) return ERROR_SUCCESS;
  if (datum.size() > capacity) return ERROR_MORE_DATA;
  if (!datum.empty()) std::memcpy(data, datum.data(), datum.size());
  return ERROR_SUCCESS;
}

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t capacity) {
  wchar_t found[256];  // a key name has at most 255 characters
  DWORD length = 256;
  const long status =
      RegEnumKeyExW(ToHkey(key), index, found, &length, nullptr, nullptr, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return status;
  const std::string text = Utf8(std::wstring_view(found, length));
  if (text.size() + 1 > capacity) return ERROR_MORE_DATA;
  std::memcpy(name, text.c_str(), text.size() + 1);
  return ERROR_SUCCESS;
}

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

}  // namespace platform::win32
