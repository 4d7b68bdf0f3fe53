#pragma once
// The program's icon, drawn as text: 32 lines of 32 characters, one per pixel. A hex digit
// is a colour of the standard 16-colour palette (0 black, 1 maroon, 2 green, 3 olive,
// 4 navy, 5 purple, 6 teal, 7 silver, 8 grey, 9 red, A lime, B yellow, C blue, D fuchsia,
// E aqua, F white), '.' a transparent pixel. Lines that start with '#' are comments.
// mkicon turns the picture into an .ico file.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools::mkicon {

constexpr int kIconSize = 32;
constexpr std::int8_t kTransparent = -1;

struct IconPicture {
  // Row by row from the top, left to right: a palette index, or kTransparent.
  std::array<std::int8_t, kIconSize * kIconSize> pixels{};
};

// Reads the text form; on failure returns false with a message naming the line.
bool ParsePicture(std::string_view text, IconPicture& picture, std::string& error);

// The .ico file: one 32 x 32 image with 4 bits per pixel and its transparency mask.
std::vector<std::uint8_t> EncodeIcon(const IconPicture& picture);

}  // namespace tools::mkicon
