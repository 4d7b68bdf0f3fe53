#pragma once
// ExpandFiles: turns one compressed file into its expanded form with the LZ expansion
// library, and reports its failures in message boxes of its own (in Turkish).
#include <cstdint>
#include <string>

#include "platform/services/platform.h"

namespace payload {

// Expands the open `source` (from its first byte) into the open `destination` (from its
// current position). The result is the destination's size, or −100 to −800 when the
// library failed (its code × 100). With `showErrors` the failures that have a message show
// it; otherwise only the result reports a failure.
std::int32_t ExpandFile(platform::Platform& platform, platform::FileChannel& source,
                        platform::FileChannel& destination, bool showErrors);

// The result for a file that could not be opened or made, by the system's error code: −1 to
// −15 for the codes the module knows, −16 for any other.
std::int32_t MapOpenError(int systemError);

// Whether the module shows a message of its own for this result, when asked to.
bool ExpandFileReports(std::int32_t resultCode);

// Shows the message for an open failure (−1 to −16) naming the trimmed path; nothing for any
// other code.
void ShowOpenError(platform::Toolkit& toolkit, std::int32_t resultCode, const std::string& path);

}  // namespace payload
