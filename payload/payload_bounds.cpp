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

bool SetupFileIsWhole(platform::FileSystem& files, const std::string& path,
                      std::int32_t payloadLength) {
  int error = 0;
  const std::unique_ptr<platform::FileChannel> setupFile =
      files.Open(path, platform::ChannelMode::kRead, error);
  PayloadBounds bounds;
  const bool whole =
      setupFile && ReadPayloadBounds(*setupFile, bounds) &&
      setup_file::PayloadFitsExactly(bounds.imageEnd, bounds.payloadEnd, payloadLength);
  if (setupFile) setupFile->Close();
  return whole;
}

}  // namespace payload
