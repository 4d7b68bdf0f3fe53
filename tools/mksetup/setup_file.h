#pragma once
// The setup file: the program image, then the eight SZDD items back to back, the
// application last. The program finds each item from the end of the file by its size and
// the sizes of the items behind it (payload/item_position.h).
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "payload/product_files.h"
#include "tools/mksetup/item_table.h"

namespace tools::mksetup {

using Bytes = std::vector<std::uint8_t>;
// One entry per item, in the order the run handles them (payload::kProductFiles).
using ItemBytes = std::array<Bytes, payload::kItemCount>;
// The expanded bytes each item must give, where they are known.
using ExpectedFiles = std::array<std::optional<Bytes>, payload::kItemCount>;

// Signing a file appends its certificate table at an 8-byte boundary, padding the file
// first when its length is not a multiple of 8. Zero bytes between the image and the payload
// make the length a multiple of 8, so that the table starts right behind the last item.
constexpr std::size_t kSignatureAlignment = 8;
std::size_t AlignmentPadding(std::size_t imageSize, std::size_t payloadSize);

// True when the program can address the items: the run sums their sizes in 32-bit signed
// arithmetic.
bool FitsThePayloadLimit(const ItemBytes& items);

ItemSizes SizesOf(const ItemBytes& items);

// `image` followed by the items in file order (the reverse of run order).
Bytes AssembleSetupFile(std::span<const std::uint8_t> image, const ItemBytes& items);

// Extracts every item from the end of `setupFile` with `sizes`, as the program does, and
// checks it against `items` and, where given, its expansion against `expected`. An empty
// text when all agree; otherwise what did not.
std::string VerifySetupFile(std::span<const std::uint8_t> setupFile, const ItemSizes& sizes,
                            const ItemBytes& items, const ExpectedFiles& expected);

}  // namespace tools::mksetup
