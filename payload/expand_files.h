#pragma once
// ExpandFiles: turns one compressed file into its expanded form with the LZ expansion
// library, and reports its failures in message boxes of its own (in Turkish).
#include <cstdint>
#include <string>

#include "platform/services/platform.h"

namespace payload {

// Expands `sourcePath` into `destinationPath` (both trimmed; the destination is created, or
// emptied and rewritten). The result is the destination's size, or negative: −1 to −16 when
// a file could not be opened, −100 to −800 when the copy failed (the library's code × 100).
// With `showErrors` false nothing is shown and only the result reports a failure.
std::int32_t ExpandFile(platform::Platform& platform, const std::string& sourcePath,
                        const std::string& destinationPath, bool showErrors);

// 0 for an open handle (0 or more); otherwise the result for the open-file record's error
// code, read as a signed 16-bit value: −1 to −15 for the codes the module knows, −16 else.
std::int32_t MapOpenError(std::int32_t handle, std::uint16_t errorCode);

// Whether ExpandFile shows a message of its own for this result, when asked to.
bool ExpandFileReports(std::int32_t resultCode);

// Shows the message for an open failure (−1 to −16) naming the trimmed path; nothing for any
// other code.
void ShowOpenError(platform::Toolkit& toolkit, std::int32_t resultCode, const std::string& path);

}  // namespace payload
