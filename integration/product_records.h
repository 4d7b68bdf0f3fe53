#pragma once
// The records an installation leaves in the registry: where the product went, with two
// numbers, and its entry in the system's list of programs that can be uninstalled.
#include <cstdint>
#include <string>

#include "integration/registry.h"

namespace integration {

// Which of the records were written whole.
struct RecordsWritten {
  bool productKey = false;      // the destination and the two numbers
  bool uninstallEntry = false;  // the entry in the list of installed programs
};

// Writes the records in their order, each reporting its own failure; `directory` is the
// trimmed destination, `installedBytes` the length of the files that the run installed there.
// The uninstall entry is written only when the destination holds an uninstaller for it to run.
RecordsWritten WriteProductRecords(Registry& registry, const std::string& directory,
                                   std::uint64_t installedBytes, bool uninstallerInstalled);

}  // namespace integration
