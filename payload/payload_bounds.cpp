#include "payload/payload_bounds.h"

#include <algorithm>
#include <array>

#include "setup_file/layout.h"

namespace payload {

bool ReadPayloadBounds(platform::FileChannel& setupFile, PayloadBounds& bounds) {
  const std::int64_t length = setupFile.Length();
  if (length < 0) return false;
  std::array<std::uint8_t, setup_file::kPeHeaderSpan> headers;
  const auto count = static_cast<std::size_t>(
      std::min<std::int64_t>(length, static_cast<std::int64_t>(headers.size())));
  if (!setupFile.ReadAt(0, headers.data(), count)) return false;
  const std::span<const std::uint8_t> read(headers.data(), count);
  bounds.imageEnd = setup_file::ImageEnd(read);
  bounds.payloadEnd = setup_file::PayloadEnd(read, length);
  return true;
}

bool SetupFileIsWhole(platform::FileChannel& setupFile, std::int32_t payloadLength) {
  PayloadBounds bounds;
  return ReadPayloadBounds(setupFile, bounds) &&
         setup_file::PayloadFitsExactly(bounds.imageEnd, bounds.payloadEnd, payloadLength);
}

}  // namespace payload
