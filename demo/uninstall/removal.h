#pragma once
// What the uninstaller removes, one step for each thing, and its report of how that went. Each
// step brings its own check and removal, so this logic knows nothing of files or the registry.
#include <span>
#include <string_view>

#include "demo/common/fixed_string.h"

namespace demo {

enum class Presence { Absent, Present, Unknown };  // Unknown: the check itself failed

enum class Outcome { NothingThere, Removed, Failed };

struct RemovalStep {
  std::string_view label;   // how the report names it: a path, a registry key, the program group
  std::string_view target;  // what `check` and `remove` are given: a path, a key, a group name
  Presence (*check)(std::string_view target) = nullptr;
  bool (*remove)(std::string_view target) = nullptr;
  // Whether its presence alone means that something of the product is still installed. The
  // uninstaller's own file and the folders and keys that only hold the product are not.
  bool isLeftover = true;
  Outcome outcome = Outcome::NothingThere;  // how RemoveAll went for it
};

// The closing message; room for every step's label, each up to a path's length in UTF-8.
using ReportText = FixedString<char, 16 * 1024>;

// Whether any leftover is present, or cannot be checked.
bool AnythingLeft(std::span<const RemovalStep> steps);

// Removes, in order, everything that is not absent, and notes each step's outcome; true when
// no removal failed.
bool RemoveAll(std::span<RemovalStep> steps);

// The closing message after RemoveAll: what could not be removed, or that all went, or that
// nothing was there.
ReportText Report(std::span<const RemovalStep> steps);

}  // namespace demo
