#pragma once
// The gradient of the backdrop: strips of 75 twips stacked from the top of the window,
// black, then brighter blue down to the brightest at strip 80, then darker again, ending
// in a dark blue that alternates between two shades.
#include <cstdint>
#include <vector>

namespace ui {

constexpr int kStripHeight = 75;  // twips

struct BackdropStrip {
  int top = 0;  // twips
  std::uint8_t blue = 0;
};

// Strip 0 and every strip after it, until one starts more than a strip's height below
// the window's height: the strips cover the window with at least one to spare.
std::vector<BackdropStrip> BackdropStrips(int windowHeight);

}  // namespace ui
