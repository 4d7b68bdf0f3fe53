#pragma once
// Installs one extracted item whole: it is expanded into a new file beside the installed one,
// checked against the item table, and only then put in the installed file's place. On any
// failure the installed file stays as it was and the new file is removed (or the user is
// told that it could not be).
#include <cstdint>
#include <string>

#include "platform/services/platform.h"
#include "setup_file/layout.h"

namespace payload {

struct ItemInstallation {
  bool installed = false;
  bool destinationFull = false;  // the expansion failed for want of space
};

// Expands `temporaryItem` (trimmed) as `destination` (trimmed) and reports every failure in a
// message box of its own, or of ExpandFile, before it returns.
ItemInstallation InstallItem(platform::Platform& platform, const std::string& temporaryItem,
                             const std::string& destination, const setup_file::ItemRecord& record);

// The new file that an item expands into before it replaces `destination`. Its name is its
// own compressed name (an extension that ends in "_"), so lz32, which tries a file's
// compressed name when it cannot open the name given, never writes anywhere else.
std::string NewFileFor(const std::string& destination);

}  // namespace payload
