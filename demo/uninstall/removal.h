#pragma once
// What the uninstaller removes, one step for each thing, and its report of how that went. Each
// step brings its own check and removal, so this logic knows nothing of files or the registry.
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace demo {

enum class Presence { Absent, Present, Unknown };  // Unknown: the check itself failed

struct RemovalStep {
  std::string label;  // how the report names it: a path, a registry key, the program group
  std::function<Presence()> check;
  std::function<bool()> remove;
  // Whether its presence alone means that something of the product is still installed. The
  // uninstaller's own file and the folders and keys that only hold the product are not.
  bool isLeftover = true;
};

struct RemovalResult {
  std::vector<std::string> removed;
  std::vector<std::string> failed;
};

// Whether any leftover is present, or cannot be checked.
bool AnythingLeft(std::span<const RemovalStep> steps);

// Removes, in order, everything that is not absent.
RemovalResult RemoveAll(std::span<const RemovalStep> steps);

// The closing message: what could not be removed, or that all went, or that nothing was there.
std::string ReportText(const RemovalResult& result);

}  // namespace demo
