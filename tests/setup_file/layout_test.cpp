// Where an item starts: payloadEnd − bytesAfter − itemSize + 1, in 32-bit signed arithmetic
// where an overflow is an error.
#include "setup_file/layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();

struct Case {
  std::int64_t payloadEnd;
  std::int32_t itemSize;
  std::int32_t bytesAfter;
  std::optional<std::int32_t> position;
};

TEST(ItemPosition, IsFoundOnlyWhereEveryStepFitsIn32Bits) {
  const Case cases[] = {
      {561451, 2576, 313471, 245405},  // "Stop.wa_" in the product's setup file
      {100, 100, 0, 1},                // the item starts the file
      {100, 101, 0, std::nullopt},     // it would start before the file
      {100, 1, 100, std::nullopt},
      {kMax, 1, 0, static_cast<std::int32_t>(kMax)},
      {kMax + 1, 1, 0, std::nullopt},
      {-1, 1, 0, std::nullopt},  // the length could not be read
      {kMin, 1, 0, std::nullopt},
      {kMin - 1, 1, 0, std::nullopt},
      // Below 32 bits by a multiple of 2^32: cut to 32 bits it would be 1000.
      {1000 - (std::int64_t{1} << 32), 10, 0, std::nullopt},
      {1000 - (std::int64_t{1} << 33), 10, 0, std::nullopt},
      {10, static_cast<std::int32_t>(kMax), 0, std::nullopt},
      {kMin + 5, 10, static_cast<std::int32_t>(kMax), std::nullopt},
      {100, 0, 0, std::nullopt},
      {100, 1, -1, std::nullopt},
  };
  for (const Case& c : cases) {
    std::int32_t position = -7;
    const bool found = setup_file::ItemPosition(c.payloadEnd, c.itemSize, c.bytesAfter, position);
    EXPECT_EQ(found, c.position.has_value())
        << c.payloadEnd << " " << c.itemSize << " " << c.bytesAfter;
    if (found && c.position) {
      EXPECT_EQ(position, *c.position) << c.payloadEnd;
    }
  }
}

}  // namespace
