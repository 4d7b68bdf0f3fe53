// The backdrop: its size from the work area, and the strips of its gradient.
#include <gtest/gtest.h>

#include "platform/portable/portable_platform.h"
#include "platform/services/twips.h"
#include "ui/backdrop_strips.h"
#include "ui/form2.h"

namespace {

using ui::BackdropStrips;

TEST(BackdropStripsTest, BlueRisesByThreeToStripEightyThenFallsAndEndsAlternating) {
  const auto strips = BackdropStrips(13284);
  ASSERT_EQ(strips.size(), 180u);  // strips 0 to 179
  for (std::size_t k = 0; k < strips.size(); ++k) {
    const int expected = k == 0     ? 0
                         : k <= 80  ? 3 * static_cast<int>(k)
                         : k <= 159 ? 480 - 3 * static_cast<int>(k)
                                    : (k % 2 == 0 ? 6 : 3);
    EXPECT_EQ(strips[k].blue, expected) << "strip " << k;
    EXPECT_EQ(strips[k].top, 75 * static_cast<int>(k)) << "strip " << k;
  }
  EXPECT_EQ(strips[80].top, 6000);
  EXPECT_EQ(strips.back().top, 13425);
}

TEST(BackdropStripsTest, TheStripsCoverTheHeightWithOneToSpare) {
  for (int height : {0, 1, 74, 75, 76, 150, 9215, 11519}) {
    const auto strips = BackdropStrips(height);
    EXPECT_EQ(static_cast<int>(strips.size()) - 1, height / 75 + 2) << "height " << height;
    EXPECT_GT(strips.back().top, height + 75);
    EXPECT_LE(strips[strips.size() - 2].top, height + 75);
  }
  EXPECT_EQ(BackdropStrips(0).size(), 3u);
}

class BackdropTest : public ::testing::Test {
 protected:
  ui::Form2& Show() {
    form.Show();
    return form;
  }
  platform::portable::PortablePlatform backend;
  ui::Form2 form{backend.platform};
};

TEST_F(BackdropTest, CoversTheWorkAreaAndReachesBelowIt) {
  backend.toolkit.SetWorkArea(platform::PixelRect{0, 0, 1024, 738});
  Show();
  EXPECT_EQ(form.Width(), 15360);
  EXPECT_EQ(form.Height(), 13284);
  ASSERT_EQ(form.ShapeCount(), 180);
  EXPECT_EQ(form.Shape1(0).Width(), 15360);
  EXPECT_EQ(form.Shape1(179).Width(), 15360);
  EXPECT_EQ(form.Shape1(80).FillColour(), (platform::Colour{0, 0, 240}));
  EXPECT_EQ(form.Shape1(80).BorderColour(), (platform::Colour{0, 0, 240}));
  EXPECT_EQ(form.Shape1(80).Top(), 6000);
  EXPECT_EQ(form.Shape1(0).FillColour(), (platform::Colour{0, 0, 0}));
  EXPECT_TRUE(form.Shape1(179).Visible());
  EXPECT_EQ(form.Shape1(179).Height(), 75);
}

TEST_F(BackdropTest, ATaskBarAtTheTopOrLeftDoesNotShrinkTheWindow) {
  backend.toolkit.SetWorkArea(platform::PixelRect{60, 30, 1024, 768});
  Show();
  EXPECT_EQ(form.Width(), 15360);
  EXPECT_EQ(form.Height(), 13824);  // 1.2 x 768 x 15
}

TEST(BackdropSizeTest, AtEveryDpiTheWindowShowsExactlyTheWorkAreaAndAFifthMore) {
  const platform::PixelRect areas[] = {{0, 0, 1024, 738},
                                       {0, 0, 1024, 768},
                                       {0, 0, 1366, 728},
                                       {0, 0, 1920, 1040},
                                       {0, 0, 801, 599}};
  for (int dpi : {96, 120, 144, 168, 192}) {
    for (const platform::PixelRect& area : areas) {
      platform::portable::PortablePlatform backend;
      backend.toolkit.SetPixelsPerInch(dpi);
      backend.toolkit.SetWorkArea(area);
      ui::Form2 form{backend.platform};
      form.Show();
      const int sixFifths = (area.bottom * 12 + 5) / 10;  // to the nearest pixel
      EXPECT_EQ(platform::TwipsToPixels(form.Width(), dpi), area.right)
          << area.right << " x " << area.bottom << " at " << dpi << " dpi";
      EXPECT_EQ(platform::TwipsToPixels(form.Height(), dpi), sixFifths)
          << area.right << " x " << area.bottom << " at " << dpi << " dpi";
      EXPECT_EQ(form.ShapeCount(), form.Height() / 75 + 3);
    }
  }
}

TEST_F(BackdropTest, AtHighDpiTheTwipsAreRoundedAndTheStripsStaySeventyFiveTwipsHigh) {
  backend.toolkit.SetPixelsPerInch(192);  // 7.5 twips a pixel
  backend.toolkit.SetWorkArea(platform::PixelRect{0, 0, 1024, 738});
  Show();
  EXPECT_EQ(form.Width(), 7680);
  EXPECT_EQ(form.Height(), 6642);  // 1.2 x 738 x 7.5 = 6642
  EXPECT_EQ(form.Shape1(5).Top(), 375);
  EXPECT_EQ(form.Shape1(5).Height(), 75);
}

TEST_F(BackdropTest, AtOneHundredAndTwentyDpiTheHeightIsRoundedToTheNearestTwip) {
  backend.toolkit.SetPixelsPerInch(120);  // 12 twips a pixel
  backend.toolkit.SetWorkArea(platform::PixelRect{0, 0, 1024, 738});
  Show();
  EXPECT_EQ(form.Width(), 12288);
  EXPECT_EQ(form.Height(), 10627);  // 1.2 x 738 x 12 = 10627.2
  EXPECT_EQ(form.ShapeCount(), 10627 / 75 + 3);
}

TEST_F(BackdropTest, AFailedWorkAreaQueryGivesAnEmptyWindowWithThreeStrips) {
  backend.toolkit.SetWorkArea(std::nullopt);
  Show();
  EXPECT_EQ(form.Width(), 0);
  EXPECT_EQ(form.Height(), 0);
  EXPECT_EQ(form.ShapeCount(), 3);
}

TEST_F(BackdropTest, TheTitleIsWhiteBoldItalicOverTheGradient) {
  Show();
  EXPECT_EQ(form.Label1.Caption(), "Tarvo's Pelmora v.1.5a");
  EXPECT_EQ(form.Label2.Caption(), "Tarvo Kenlisk");
  EXPECT_TRUE(form.Label1.Transparent());
  EXPECT_EQ(form.Label1.GetFont().points, 24);
  EXPECT_EQ(form.Label2.GetFont().points, 18);
  EXPECT_TRUE(form.Label1.GetFont().bold && form.Label1.GetFont().italic);
  EXPECT_EQ(form.Label1.GetFont().charset, 162);
  EXPECT_EQ(form.Label1.ForeColour(), (platform::Colour{255, 255, 255}));
  EXPECT_EQ(form.Design().role, platform::WindowRole::kBackdrop);
}

}  // namespace
