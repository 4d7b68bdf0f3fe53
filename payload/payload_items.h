#pragma once
// The sizes of the items appended to the setup file, in the order of kProductFiles. They
// are the only description of the payload that the program holds. mksetup generates their
// definition from the items it appends, so they cannot disagree with the setup file.
#include <array>
#include <cstdint>

#include "payload/product_files.h"

namespace payload {

extern const std::array<std::int32_t, kItemCount> kItemSizes;

}  // namespace payload
