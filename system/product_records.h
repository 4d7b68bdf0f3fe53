#pragma once
// The records an installation leaves in the registry: where the product went, with two
// numbers, and its entry in the system's list of programs that can be uninstalled.
#include <string>

#include "system/registry.h"

namespace integration {

inline constexpr char kVendorKey[] = "Software\\Quorvalen";
inline constexpr char kProductKey[] = "Software\\Quorvalen\\PLM";
inline constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pelmora";

// Writes the seven records in their order, each reporting its own failure; `directory` is
// the trimmed destination.
void WriteProductRecords(Registry& registry, const std::string& directory);

}  // namespace integration
