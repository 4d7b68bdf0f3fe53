#pragma once
// Copies one item of the payload out of the setup file into a file of its own.
#include <cstdint>
#include <string>

#include "payload/run_files.h"
#include "platform/services/platform.h"

namespace payload {

// Copies the `itemSize` bytes that lie `bytesAfter` bytes before the end of the payload of
// the open `setupFile` into a new file `name` of the run's folder. Returns that file, open,
// once the whole item is written; null when it is not, after the failure message when
// `showErrors` asks for it.
platform::FileChannel* ExtractPayloadItem(platform::Platform& platform,
                                          platform::FileChannel& setupFile, RunFolder& folder,
                                          const std::string& name, std::int32_t itemSize,
                                          std::int32_t bytesAfter, bool showErrors);

}  // namespace payload
