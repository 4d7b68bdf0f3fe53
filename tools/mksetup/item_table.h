#pragma once
// The item table that the setup program is built with: the source file that defines
// payload::kItemSizes, generated from the items and read back when the setup file is
// assembled, so that the program's constants and the appended items cannot disagree.
#include <array>
#include <cstdint>
#include <string>

#include "payload/product_files.h"

namespace tools::mksetup {

using ItemSizes = std::array<std::int32_t, payload::kItemCount>;

// The C++ source of the table.
std::string ItemTableSource(const ItemSizes& sizes);

// The sizes in a source written by ItemTableSource; false when it is not one.
bool ParseItemTable(const std::string& source, ItemSizes& sizes);

}  // namespace tools::mksetup
