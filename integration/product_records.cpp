#include "integration/product_records.h"

#include <string_view>

#include "product/pelmora.h"

namespace integration {

RecordsWritten WriteProductRecords(Registry& registry, const std::string& directory,
                                   bool uninstallerInstalled) {
  using namespace product;
  const platform::RegKey machine = platform::kHKeyLocalMachine;
  RecordsWritten written;
  // Every write is tried, whatever happened to the one before. The values are what counts:
  // each of their writes creates the key as well.
  registry.CreateRegKey(machine, kProductKey);
  written.productKey = registry.SetRegString(machine, kProductKey, kDestinationValue, directory);
  written.productKey &= registry.SetRegLong(machine, kProductKey, kVersionValue, kVersion);
  written.productKey &= registry.SetRegLong(machine, kProductKey, kIncCurValue, kIncCur);
  if (!uninstallerInstalled) return written;
  registry.CreateRegKey(machine, kUninstallKey);
  written.uninstallEntry = registry.SetRegString(machine, kUninstallKey, kDisplayNameValue, kTitle);
  // The system runs this as a command line: quoted, so that a blank in the path does not
  // split it. The uninstaller's name is written out whole rather than appended.
  static_assert(std::string_view(kUninstallerFile) == "Uninstall PLM.exe",
                "the command line names the uninstaller");
  written.uninstallEntry &= registry.SetRegString(machine, kUninstallKey, kUninstallStringValue,
                                                  "\"" + directory + "\\Uninstall PLM.exe\"");
  return written;
}

}  // namespace integration
