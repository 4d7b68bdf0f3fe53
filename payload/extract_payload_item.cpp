#include "payload/extract_payload_item.h"

#include <algorithm>
#include <memory>
#include <new>

#include "codec/szdd_format.h"
#include "payload/payload_bounds.h"
#include "platform/text/text.h"
#include "setup_file/layout.h"

namespace payload {
namespace {

using platform::ChannelMode;
using platform::FileChannel;

// The two files of one extraction: the setup file (channel 1) and the item (channel 2).
struct Channels {
  std::unique_ptr<FileChannel> source;
  std::unique_ptr<FileChannel> destination;

  // After a failure: the source first, then the destination, whichever is open.
  void CloseAfterFailure() {
    if (source) source->Close();
    if (destination) destination->Close();
    source.reset();
    destination.reset();
  }
};

bool IsSzdd(const std::uint8_t* item, std::int32_t itemSize) {
  return static_cast<std::size_t>(itemSize) >= codec::szdd::kSignature.size() &&
         std::equal(codec::szdd::kSignature.begin(), codec::szdd::kSignature.end(), item);
}

// The steps that may fail; the channels are left open for the failure path to close.
bool CopyItem(platform::FileSystem& files, Channels& channels, const std::string& sourcePath,
              const std::string& destinationPath, std::int32_t itemSize, std::int32_t bytesAfter) {
  if (itemSize < 1) return false;
  const std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[itemSize]);
  if (!buffer) return false;
  int error = 0;
  channels.source = files.Open(sourcePath, ChannelMode::kRead, error);
  if (!channels.source) return false;
  channels.destination = files.Open(destinationPath, ChannelMode::kWriteLocked, error);
  if (!channels.destination) return false;

  PayloadBounds bounds;
  std::int32_t position = 0;
  if (!ReadPayloadBounds(*channels.source, bounds) ||
      !setup_file::ItemPosition(bounds.payloadEnd, itemSize, bytesAfter, position)) {
    return false;
  }
  const auto size = static_cast<std::size_t>(itemSize);
  if (!channels.source->ReadAt(position - 1, buffer.get(), size)) return false;
  // Whatever lies there is no item unless it is an SZDD file: installing it would be worse.
  if (!IsSzdd(buffer.get(), itemSize)) return false;
  if (!channels.destination->Write(buffer.get(), size)) return false;

  const bool destinationClosed = channels.destination->Close();
  channels.destination.reset();
  if (!destinationClosed) return false;
  const bool sourceClosed = channels.source->Close();
  channels.source.reset();
  return sourceClosed;
}

}  // namespace

bool ExtractPayloadItem(platform::Platform& platform, const std::string& sourcePath,
                        const std::string& destinationPath, std::int32_t itemSize,
                        std::int32_t bytesAfter) {
  const std::string destination = platform::Trim(destinationPath);
  Channels channels;
  if (CopyItem(platform.files, channels, platform::Trim(sourcePath), destination, itemSize,
               bytesAfter)) {
    return true;
  }
  channels.CloseAfterFailure();
  platform.toolkit.MsgBox("File '" + destination + "' could not be written!",
                          platform::MsgBoxStyle::kSystemModal | platform::MsgBoxStyle::kExclamation,
                          "Error");
  return false;
}

}  // namespace payload
