#include "ui/backdrop_strips.h"

namespace ui {

std::vector<BackdropStrip> BackdropStrips(int windowHeight) {
  std::vector<BackdropStrip> strips{{0, 0}};
  int blue = 3;
  for (int index = 1;; ++index) {
    const int top = strips.back().top + kStripHeight;
    strips.push_back({top, static_cast<std::uint8_t>(blue)});
    // Up by 3 to the brightest strip, then down by 3, and at the dark end 3 and 6 by turns.
    blue += 3;
    if (index + 1 > 80 && blue > 6) blue -= 6;
    if (top > windowHeight + kStripHeight) break;
  }
  return strips;
}

}  // namespace ui
