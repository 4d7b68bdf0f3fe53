// The free-space figure: kilobytes from the disk's counts, and the grouped text.
#include "ui/free_space.h"

#include <gtest/gtest.h>

namespace {

using platform::DiskSpace;
using ui::FreeKilobytes;
using ui::GroupThousands;

TEST(FreeKilobytes, IsFreeClustersTimesClusterSizeInKilobytesRoundedHalfToEven) {
  EXPECT_EQ(FreeKilobytes(DiskSpace{8, 512, 1000, 2000}), 4000);
  EXPECT_EQ(FreeKilobytes(DiskSpace{1, 512, 3, 10}), 2);  // 1.5 -> 2
  EXPECT_EQ(FreeKilobytes(DiskSpace{1, 512, 5, 10}), 2);  // 2.5 -> 2
  EXPECT_EQ(FreeKilobytes(DiskSpace{1, 512, 7, 10}), 4);  // 3.5 -> 4
  EXPECT_EQ(FreeKilobytes(DiskSpace{1, 100, 1, 10}), 0);  // 0.098 -> 0
  EXPECT_EQ(FreeKilobytes(DiskSpace{0, 0, 0, 0}), 0);
}

TEST(FreeKilobytes, LargeCountsAreUnsignedAndTheFigureIsHeldAtItsLargestValue) {
  // Two billion clusters of 1 KB: read as signed, the count would be negative.
  EXPECT_EQ(FreeKilobytes(DiskSpace{2, 512, 0x80000000u, 0xFFFFFFFFu}), 2147483647);
  EXPECT_EQ(FreeKilobytes(DiskSpace{2, 512, 0x7FFFFFFFu, 0xFFFFFFFFu}), 2147483647);
  EXPECT_EQ(FreeKilobytes(DiskSpace{2, 512, 0x7FFFFFFEu, 0xFFFFFFFFu}), 2147483646);
  // A cluster size whose product does not fit 32 bits.
  EXPECT_EQ(FreeKilobytes(DiskSpace{0x10000u, 0x10000u, 0xFFFFFFFFu, 0xFFFFFFFFu}), 2147483647);
}

TEST(GroupThousands, GroupsInThreesWithTheSeparatorAndShowsNothingForZero) {
  EXPECT_EQ(GroupThousands(0, ","), "");
  EXPECT_EQ(GroupThousands(7, ","), "7");
  EXPECT_EQ(GroupThousands(999, ","), "999");
  EXPECT_EQ(GroupThousands(1000, ","), "1,000");
  EXPECT_EQ(GroupThousands(488, ","), "488");
  EXPECT_EQ(GroupThousands(1234567, ","), "1,234,567");
  EXPECT_EQ(GroupThousands(1234567, "."), "1.234.567");
  EXPECT_EQ(GroupThousands(123456, "\xC2\xA0"),
            "123\xC2\xA0"
            "456");
  EXPECT_EQ(GroupThousands(2147483647, ","), "2,147,483,647");
  EXPECT_EQ(GroupThousands(-1234, ","), "-1,234");
  EXPECT_EQ(GroupThousands(-2147483647 - 1, ","), "-2,147,483,648");
}

}  // namespace
