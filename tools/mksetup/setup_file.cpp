#include "tools/mksetup/setup_file.h"

#include <algorithm>
#include <limits>

#include "payload/item_position.h"
#include "payload/szdd_decoder.h"
#include "tools/common/host_files.h"

namespace tools::mksetup {
namespace {

std::string ItemName(std::size_t item) {
  return "'" + std::string(payload::kProductFiles[item].temporaryName) + "'";
}

// What is wrong with the item extracted at `bytesAfter`, or an empty text.
std::string VerifyItem(std::span<const std::uint8_t> setupFile, std::int64_t payloadEnd,
                       std::size_t item, std::int32_t size, std::int32_t bytesAfter,
                       const Bytes& expectedItem, const std::optional<Bytes>& expectedFile) {
  std::int32_t position = 0;
  if (!payload::ItemPosition(payloadEnd, size, bytesAfter, position)) {
    return ItemName(item) + " lies outside the setup file";
  }
  const auto extracted =
      setupFile.subspan(static_cast<std::size_t>(position - 1), static_cast<std::size_t>(size));
  if (!std::equal(extracted.begin(), extracted.end(), expectedItem.begin(), expectedItem.end())) {
    return ItemName(item) + " differs from the item appended";
  }
  MemorySource source(extracted);
  MemorySink expanded;
  if (payload::szdd::Expand(source, expanded).status != payload::szdd::Status::kOk) {
    return ItemName(item) + " does not expand";
  }
  if (expectedFile && expanded.bytes != *expectedFile) {
    return ItemName(item) + " does not expand to '" +
           std::string(payload::kProductFiles[item].installedName) + "'";
  }
  return {};
}

}  // namespace

std::size_t AlignmentPadding(std::size_t imageSize, std::size_t payloadSize) {
  return (kSignatureAlignment - (imageSize + payloadSize) % kSignatureAlignment) %
         kSignatureAlignment;
}

bool FitsThePayloadLimit(const ItemBytes& items) {
  std::uint64_t total = 0;
  for (const Bytes& item : items) total += item.size();
  return total <= static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
}

ItemSizes SizesOf(const ItemBytes& items) {
  ItemSizes sizes{};
  std::transform(items.begin(), items.end(), sizes.begin(),
                 [](const Bytes& item) { return static_cast<std::int32_t>(item.size()); });
  return sizes;
}

Bytes AssembleSetupFile(std::span<const std::uint8_t> image, const ItemBytes& items) {
  Bytes file(image.begin(), image.end());
  for (auto item = items.rbegin(); item != items.rend(); ++item) {
    file.insert(file.end(), item->begin(), item->end());
  }
  return file;
}

std::string VerifySetupFile(std::span<const std::uint8_t> setupFile, const ItemSizes& sizes,
                            const ItemBytes& items, const ExpectedFiles& expected) {
  const auto length = static_cast<std::int64_t>(setupFile.size());
  const std::int64_t payloadEnd = payload::PayloadEnd(
      setupFile.first(std::min(setupFile.size(), payload::kPeHeaderSpan)), length);
  std::int32_t bytesAfter = 0;
  for (std::size_t item = 0; item < items.size(); ++item) {
    std::string problem = VerifyItem(setupFile, payloadEnd, item, sizes[item], bytesAfter,
                                     items[item], expected[item]);
    if (!problem.empty()) return problem;
    if (__builtin_add_overflow(bytesAfter, sizes[item], &bytesAfter)) {
      return "the payload is larger than the program can address";
    }
  }
  return {};
}

}  // namespace tools::mksetup
