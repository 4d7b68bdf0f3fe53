#include "payload/extract_payload_item.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "codec/szdd_format.h"
#include "payload/payload_bounds.h"
#include "setup_file/layout.h"

namespace payload {
namespace {

bool IsSzdd(const std::uint8_t* item, std::int32_t itemSize) {
  return static_cast<std::size_t>(itemSize) >= codec::szdd::kSignature.size() &&
         std::equal(codec::szdd::kSignature.begin(), codec::szdd::kSignature.end(), item);
}

// The steps that may fail: the item read into a buffer of its size, then written whole.
platform::FileChannel* CopyItem(platform::FileChannel& setupFile, RunFolder& folder,
                                const std::string& name, std::int32_t itemSize,
                                std::int32_t bytesAfter) {
  if (itemSize < 1) return nullptr;
  const auto size = static_cast<std::size_t>(itemSize);
  // malloc answers a request that it cannot meet with null, where new would end the program.
  const std::unique_ptr<std::uint8_t, decltype(&std::free)> buffer(
      static_cast<std::uint8_t*>(std::malloc(size)), &std::free);
  if (!buffer) return nullptr;
  PayloadBounds bounds;
  std::int32_t position = 0;
  if (!ReadPayloadBounds(setupFile, bounds) ||
      !setup_file::ItemPosition(bounds.payloadEnd, itemSize, bytesAfter, position)) {
    return nullptr;
  }
  if (!setupFile.ReadAt(position - 1, buffer.get(), size)) return nullptr;
  // Whatever lies there is no item unless it is an SZDD file: installing it would be worse.
  if (!IsSzdd(buffer.get(), itemSize)) return nullptr;
  int error = 0;
  platform::FileChannel* item = folder.Create(name, error);
  return item != nullptr && item->Write(buffer.get(), size) ? item : nullptr;
}

}  // namespace

platform::FileChannel* ExtractPayloadItem(platform::Platform& platform,
                                          platform::FileChannel& setupFile, RunFolder& folder,
                                          const std::string& name, std::int32_t itemSize,
                                          std::int32_t bytesAfter, bool showErrors) {
  platform::FileChannel* const item = CopyItem(setupFile, folder, name, itemSize, bytesAfter);
  if (item == nullptr && showErrors) {
    std::string text = "File '" + folder.Path();
    text += '\\';
    text += name;
    text += "' could not be written!";
    platform.toolkit.MsgBox(
        text, platform::MsgBoxStyle::kSystemModal | platform::MsgBoxStyle::kExclamation, "Error");
  }
  return item;
}

}  // namespace payload
