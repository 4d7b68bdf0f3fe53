#include "system/product_records.h"

namespace integration {

void WriteProductRecords(Registry& registry, const std::string& directory) {
  const platform::RegKey machine = platform::kHKeyLocalMachine;
  registry.CreateRegKey(machine, kProductKey);
  registry.SetRegString(machine, kProductKey, "Dizin", directory);
  registry.SetRegLong(machine, kProductKey, "Version", 7);
  registry.SetRegLong(machine, kProductKey, "IncCur", 1);
  registry.CreateRegKey(machine, kUninstallKey);
  registry.SetRegString(machine, kUninstallKey, "DisplayName", "Tarvo's Pelmora");
  // The system runs this as a command line: quoted, so that a blank in the path does not
  // split it.
  registry.SetRegString(machine, kUninstallKey, "UninstallString",
                        "\"" + directory + "\\Uninstall PLM.exe\"");
}

}  // namespace integration
