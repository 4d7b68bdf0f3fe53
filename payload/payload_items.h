#pragma once
// The item table: what the program knows of the items appended to the setup file, in the
// order of kProductFiles. mksetup generates its definition from the items it appends, so the
// table cannot disagree with the setup file it was built for.
#include <array>
#include <cstdint>

#include "payload/product_files.h"

namespace payload {

struct ItemRecord {
  std::int32_t size = 0;             // the item's bytes in the setup file
  std::uint32_t expandedLength = 0;  // the bytes of the file it expands to
  std::uint32_t crc32 = 0;           // the CRC-32 of those bytes
  friend bool operator==(const ItemRecord&, const ItemRecord&) = default;
};

using ItemTable = std::array<ItemRecord, kItemCount>;

extern const ItemTable kItemTable;

}  // namespace payload
