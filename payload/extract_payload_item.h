#pragma once
// Copies one item of the payload out of the setup file into a file of its own.
#include <cstdint>
#include <string>

#include "platform/services/platform.h"

namespace payload {

// Copies the `itemSize` bytes that lie `bytesAfter` bytes before the end of the payload of
// `sourcePath` (the setup file) into `destinationPath`. Both paths are trimmed. True when
// the whole item has been written; false after the failure message has been shown.
bool ExtractPayloadItem(platform::Platform& platform, const std::string& sourcePath,
                        const std::string& destinationPath, std::int32_t itemSize,
                        std::int32_t bytesAfter);

}  // namespace payload
