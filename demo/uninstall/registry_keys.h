#pragma once
// The product's keys under HKEY_LOCAL_MACHINE, in the registry view of the program's own
// bitness, as the setup program wrote them.
#include <string_view>

#include "demo/uninstall/removal.h"

namespace demo {

Presence KeyPresence(std::string_view path);

// Present only when the key holds neither subkeys nor values.
Presence EmptyKeyPresence(std::string_view path);

// Deletes the key with everything in it.
bool DeleteKeyTree(std::string_view path);

bool DeleteEmptyKey(std::string_view path);

}  // namespace demo
