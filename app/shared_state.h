#pragma once
// The state that the whole program shares, alive from start to end.
#include <cstdint>

#include "platform/text/fixed_text.h"

namespace app {

struct SharedState {
  std::uint8_t CurrentPage = 0;    // the wizard page shown, 1 to 4
  platform::FixedText InstallDir;  // the destination directory
  platform::FixedText TempDir;     // the system's temporary folder, without a trailing "\"
};

// The folder that the product goes into unless an earlier installation is found.
inline constexpr char kDefaultInstallDir[] = "C:\\Program Files\\Pelmora";
inline constexpr char kDefaultInstallParent[] = "C:\\Program Files";

}  // namespace app
