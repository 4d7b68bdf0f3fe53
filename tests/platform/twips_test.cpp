// Twips and pixels: one rounding to the nearest unit, so that pixels survive the way through
// twips at every DPI, including those where a pixel is no whole number of twips.
#include <gtest/gtest.h>

#include "platform/services/twips.h"

namespace {

using platform::PixelsToTwips;
using platform::ScaleRounded;
using platform::TwipsToPixels;

constexpr int kDpis[] = {72, 96, 120, 144, 168, 192, 240, 288, 480};

TEST(TwipsTest, PixelsComeBackUnchangedFromTheirTwipsAtEveryDpi) {
  for (int dpi : kDpis) {
    for (int pixels = -2000; pixels <= 4000; ++pixels) {
      ASSERT_EQ(TwipsToPixels(PixelsToTwips(pixels, dpi), dpi), pixels)
          << pixels << " pixels at " << dpi << " dpi";
    }
  }
}

TEST(TwipsTest, AFractionOfATwipIsRoundedNotCut) {
  EXPECT_EQ(PixelsToTwips(1024, 96), 15360);
  EXPECT_EQ(PixelsToTwips(1024, 192), 7680);  // 7.5 twips a pixel
  EXPECT_EQ(PixelsToTwips(1024, 168), 8777);  // 8777.14
  EXPECT_EQ(PixelsToTwips(1023, 168), 8769);  // 8768.57
  EXPECT_EQ(TwipsToPixels(75, 168), 9);       // 8.75
  EXPECT_EQ(TwipsToPixels(8055, 120), 671);   // 671.25
  EXPECT_EQ(TwipsToPixels(8055, 144), 806);   // 805.5, a half goes up
}

TEST(TwipsTest, HalvesGoAwayFromZeroAsMulDivRoundsThem) {
  EXPECT_EQ(ScaleRounded(5, 1, 2), 3);
  EXPECT_EQ(ScaleRounded(-5, 1, 2), -3);
  EXPECT_EQ(ScaleRounded(4, 1, 3), 1);
  EXPECT_EQ(ScaleRounded(5, 1, 3), 2);
  EXPECT_EQ(ScaleRounded(-5, 1, 3), -2);
  EXPECT_EQ(ScaleRounded(0, 1440, 168), 0);
}

}  // namespace
