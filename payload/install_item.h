#pragma once
// Installs one extracted item whole: it is expanded into a new file beside the installed one,
// checked against the item table, and only then put in the installed file's place, all through
// the one handle that made the new file. On any failure the installed file stays as it was and
// the new file is removed (or the user is told that it could not be).
#include <cstdint>
#include <string>

#include "platform/services/platform.h"
#include "setup_file/layout.h"

namespace payload {

struct ItemInstallation {
  bool installed = false;
  bool told = false;             // a message has said why it was not
  bool destinationFull = false;  // the expansion failed for want of space
};

// Expands the extracted `item` into a new file beside `destination` (trimmed), made by
// CreateNewFile, and puts it in the installed file's place. While a program holds the
// installed file, the user is asked to close it and choose Retry, or Cancel to keep the
// earlier file. With `showErrors`, every other failure that has a message (its own, or
// ExpandFile's) shows it, naming the installed file; without, the caller tells the failure. A
// new file that cannot be removed afterwards is told either way: it is left for the user.
ItemInstallation InstallItem(platform::Platform& platform, platform::FileChannel& item,
                             const std::string& destination, const setup_file::ItemRecord& record,
                             bool showErrors);

}  // namespace payload
