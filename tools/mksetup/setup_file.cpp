#include "tools/mksetup/setup_file.h"

#include <algorithm>
#include <limits>

#include "codec/sha256.h"
#include "codec/szdd_decoder.h"
#include "setup_file/layout.h"
#include "tools/common/host_files.h"

namespace tools::mksetup {
namespace {

std::string ItemName(std::size_t item) {
  return "'" + std::string(product::kProductFiles[item].temporaryName) + "'";
}

// The expanded bytes of an item; false when it does not expand.
bool Expand(std::span<const std::uint8_t> item, Bytes& expanded) {
  MemorySource source(item);
  MemorySink sink;
  if (codec::szdd::Expand(source, sink).status != codec::szdd::Status::kOk) return false;
  expanded = std::move(sink.bytes);
  return true;
}

std::size_t PayloadLength(const ItemBytes& items) {
  std::size_t length = 0;
  for (const Bytes& item : items) length += item.size();
  return length;
}

// What is wrong with the item found at `bytesAfter`, or an empty text.
std::string VerifyItem(std::span<const std::uint8_t> setupFile, std::int64_t payloadEnd,
                       std::size_t item, const setup_file::ItemRecord& record,
                       std::int32_t bytesAfter, const Bytes& expectedItem,
                       const std::optional<Bytes>& expectedFile) {
  std::int32_t position = 0;
  if (!setup_file::ItemPosition(payloadEnd, record.size, bytesAfter, position)) {
    return ItemName(item) + " lies outside the setup file";
  }
  const auto extracted = setupFile.subspan(static_cast<std::size_t>(position - 1),
                                           static_cast<std::size_t>(record.size));
  if (!std::equal(extracted.begin(), extracted.end(), expectedItem.begin(), expectedItem.end())) {
    return ItemName(item) + " differs from the item appended";
  }
  Bytes expanded;
  if (!Expand(extracted, expanded)) return ItemName(item) + " does not expand";
  if (expanded.size() != record.expandedLength || codec::Sha256Of(expanded) != record.sha256) {
    return ItemName(item) + " does not expand to the length and SHA-256 of the item table";
  }
  if (expectedFile && expanded != *expectedFile) {
    return ItemName(item) + " does not expand to '" +
           std::string(product::kProductFiles[item].installedName) + "'";
  }
  return {};
}

}  // namespace

bool TableOf(const ItemBytes& items, setup_file::ItemTable& table, std::string& error) {
  for (std::size_t item = 0; item < items.size(); ++item) {
    Bytes expanded;
    if (items[item].size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
        !Expand(items[item], expanded)) {
      error = ItemName(item) + " is not an SZDD file that the program can expand";
      return false;
    }
    table[item] = {static_cast<std::int32_t>(items[item].size()),
                   static_cast<std::uint32_t>(expanded.size()), codec::Sha256Of(expanded)};
  }
  setup_file::ItemPlaces places;
  if (!setup_file::PlaceItems(table, places)) {
    error = "the items are too large for the program";
    return false;
  }
  return true;
}

Bytes AssembleSetupFile(std::span<const std::uint8_t> image, const ItemBytes& items) {
  Bytes file(image.begin(), image.end());
  file.resize(image.size() + setup_file::AlignmentPadding(image.size(), PayloadLength(items)), 0);
  for (auto item = items.rbegin(); item != items.rend(); ++item)
    file.insert(file.end(), item->begin(), item->end());
  return file;
}

std::string VerifySetupFile(std::span<const std::uint8_t> setupFile,
                            const setup_file::ItemTable& table, const ItemBytes& items,
                            const ExpectedFiles& expected) {
  const auto headers = setupFile.first(std::min(setupFile.size(), setup_file::kPeHeaderSpan));
  const std::int64_t payloadEnd =
      setup_file::PayloadEnd(headers, static_cast<std::int64_t>(setupFile.size()));
  setup_file::ItemPlaces places;
  if (!setup_file::PlaceItems(table, places))
    return "the payload is larger than the program can address";
  if (!setup_file::PayloadFitsExactly(setup_file::ImageEnd(headers), payloadEnd,
                                      places.payloadLength)) {
    return "the payload does not lie right behind the program image (is the image a PE file "
           "that ends with its last section?)";
  }
  for (std::size_t item = 0; item < items.size(); ++item) {
    std::string problem = VerifyItem(setupFile, payloadEnd, item, table[item],
                                     places.bytesAfter[item], items[item], expected[item]);
    if (!problem.empty()) return problem;
  }
  return {};
}

}  // namespace tools::mksetup
