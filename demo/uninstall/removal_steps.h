#pragma once
// Everything of Pelmora that the setup program leaves behind, as removal steps, in the order
// of removal: the program group, the eight files, their folder, the product key, the vendor
// key, and last the uninstall key, so that an interrupted removal can be started again from
// the list of installed programs.
#include <string>
#include <vector>

#include "demo/uninstall/removal.h"

namespace demo {

std::vector<RemovalStep> ProductRemovalSteps(const std::wstring& folder);

}  // namespace demo
