#pragma once
// The setup file as mksetup builds it: the program image, its padding, then the eight SZDD
// items back to back (setup_file/layout.h draws it), and the check of a finished one.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "product/pelmora.h"
#include "setup_file/layout.h"

namespace tools::mksetup {

using Bytes = std::vector<std::uint8_t>;
// One entry per item, in the order the run handles them (product::kProductFiles).
using ItemBytes = std::array<Bytes, setup_file::kItemCount>;
// The expanded bytes each item must give, where they are known.
using ExpectedFiles = std::array<std::optional<Bytes>, setup_file::kItemCount>;

// The item table of `items`: their sizes, and the length and SHA-256 of what each expands
// to. False, with `error` saying why, when an item does not expand or the payload is too
// large for the program to address.
bool TableOf(const ItemBytes& items, setup_file::ItemTable& table, std::string& error);

// `image`, the padding, then the items in file order (the reverse of run order).
Bytes AssembleSetupFile(std::span<const std::uint8_t> image, const ItemBytes& items);

// Checks `setupFile` as the program reads it with `table`: exactly the table's payload
// behind the image, every item where the table places it, equal to `items`, expanding to
// the length and SHA-256 the table records and, where given, to `expected`. An empty text
// when all agree; otherwise what did not.
std::string VerifySetupFile(std::span<const std::uint8_t> setupFile,
                            const setup_file::ItemTable& table, const ItemBytes& items,
                            const ExpectedFiles& expected);

}  // namespace tools::mksetup
