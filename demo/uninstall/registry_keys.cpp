#include "demo/uninstall/registry_keys.h"

#include <windows.h>

#include "demo/common/wide_text.h"

namespace demo {
namespace {

// Opens the key for reading, or says why not.
LONG OpenKey(std::string_view path, HKEY& key) {
  return RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToWide(path).c_str(), 0, KEY_READ, &key);
}

Presence PresenceOf(LONG openStatus) {
  if (openStatus == ERROR_SUCCESS) return Presence::Present;
  return openStatus == ERROR_FILE_NOT_FOUND ? Presence::Absent : Presence::Unknown;
}

}  // namespace

Presence KeyPresence(std::string_view path) {
  HKEY key = nullptr;
  const LONG status = OpenKey(path, key);
  if (status == ERROR_SUCCESS) RegCloseKey(key);
  return PresenceOf(status);
}

Presence EmptyKeyPresence(std::string_view path) {
  HKEY key = nullptr;
  const LONG status = OpenKey(path, key);
  if (status != ERROR_SUCCESS) return PresenceOf(status);
  DWORD subkeys = 0;
  DWORD values = 0;
  const LONG query = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                      &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (query != ERROR_SUCCESS) return Presence::Unknown;
  return subkeys == 0 && values == 0 ? Presence::Present : Presence::Absent;
}

bool DeleteKeyTree(std::string_view path) {
  return RegDeleteTreeW(HKEY_LOCAL_MACHINE, ToWide(path).c_str()) == ERROR_SUCCESS;
}

bool DeleteEmptyKey(std::string_view path) {
  return RegDeleteKeyW(HKEY_LOCAL_MACHINE, ToWide(path).c_str()) == ERROR_SUCCESS;
}

}  // namespace demo
