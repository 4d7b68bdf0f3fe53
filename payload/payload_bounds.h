#pragma once
// Where the image and the payload of a setup file end, read from the file itself, and the
// check that a setup file holds exactly the payload that the program was built for.
#include <cstdint>

#include "platform/services/file_system.h"

namespace payload {

struct PayloadBounds {
  std::int64_t imageEnd = -1;  // -1 when the file starts with no PE headers
  std::int64_t payloadEnd = -1;
};

// Reads the bounds from the open setup file's length and headers; false when it cannot be read.
bool ReadPayloadBounds(platform::FileChannel& setupFile, PayloadBounds& bounds);

// True when the open setup file can be read and exactly `payloadLength` bytes of items lie
// between its image (with the padding) and its payload end: no item is missing, cut short,
// or followed by bytes that would shift every item.
bool SetupFileIsWhole(platform::FileChannel& setupFile, std::int32_t payloadLength);

}  // namespace payload
