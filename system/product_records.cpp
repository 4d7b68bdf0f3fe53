#include "system/product_records.h"

namespace integration {

RecordsWritten WriteProductRecords(Registry& registry, const std::string& directory, bool uninstallerInstalled) {
  const platform::RegKey machine = platform::kHKeyLocalMachine;
  RecordsWritten written;
  // Every write is tried, whatever happened to the one before. The values are what counts:
  // each of their writes creates the key as well.
  registry.CreateRegKey(machine, kProductKey);
  written.productKey = registry.SetRegString(machine, kProductKey, "Dizin", directory);
  written.productKey &= registry.SetRegLong(machine, kProductKey, "Version", 7);
  written.productKey &= registry.SetRegLong(machine, kProductKey, "IncCur", 1);
  if (!uninstallerInstalled) return written;
  registry.CreateRegKey(machine, kUninstallKey);
  written.uninstallEntry = registry.SetRegString(machine, kUninstallKey, "DisplayName", "Tarvo's Pelmora");
  // The system runs this as a command line: quoted, so that a blank in the path does not
  // split it.
  written.uninstallEntry &= registry.SetRegString(machine, kUninstallKey, "UninstallString",
                                                  "\"" + directory + "\\Uninstall PLM.exe\"");
  return written;
}

}  // namespace integration
