#include "tools/mkicon/icon_picture.h"

#include <algorithm>

namespace tools::mkicon {

namespace {

// The standard 16-colour palette, as red, green and blue.
constexpr std::uint8_t kPalette[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

constexpr std::size_t kHeaderSize = 40;                 // BITMAPINFOHEADER
constexpr std::size_t kPaletteBytes = 16 * 4;           // blue, green, red, 0
constexpr std::size_t kColourRowBytes = kIconSize / 2;  // 4 bits per pixel
constexpr std::size_t kMaskRowBytes = 4;                // 1 bit per pixel, rows of 32 bits
constexpr std::size_t kImageSize =
    kHeaderSize + kPaletteBytes + kIconSize * (kColourRowBytes + kMaskRowBytes);
constexpr std::size_t kImageOffset = 6 + 16;  // after the ICONDIR and its one entry

int ColourOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c == '.') return kTransparent;
  return -2;
}

class LittleEndian {
 public:
  explicit LittleEndian(std::vector<std::uint8_t>& out) : out_(out) {}
  void U8(unsigned value) { out_.push_back(static_cast<std::uint8_t>(value)); }
  void U16(unsigned value) {
    U8(value & 0xFF);
    U8(value >> 8);
  }
  void U32(std::size_t value) {
    U16(static_cast<unsigned>(value & 0xFFFF));
    U16(static_cast<unsigned>(value >> 16));
  }

 private:
  std::vector<std::uint8_t>& out_;
};

}  // namespace

bool ParsePicture(std::string_view text, IconPicture& picture, std::string& error) {
  int row = 0;
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (row == kIconSize) {
      error = where + "more than " + std::to_string(kIconSize) + " rows";
      return false;
    }
    if (line.size() != kIconSize) {
      error = where + "a row has " + std::to_string(kIconSize) + " pixels, not " +
              std::to_string(line.size());
      return false;
    }
    for (int column = 0; column < kIconSize; ++column) {
      const int colour = ColourOf(line[column]);
      if (colour < kTransparent) {
        error = where + "'" + std::string(1, line[column]) + "' is neither a hex digit nor '.'";
        return false;
      }
      picture.pixels[row * kIconSize + column] = static_cast<std::int8_t>(colour);
    }
    ++row;
  }
  if (row != kIconSize) {
    error = "the picture has " + std::to_string(row) + " rows, not " + std::to_string(kIconSize);
    return false;
  }
  return true;
}

std::vector<std::uint8_t> EncodeIcon(const IconPicture& picture) {
  std::vector<std::uint8_t> out;
  LittleEndian write(out);
  // ICONDIR and its one entry.
  write.U16(0);
  write.U16(1);  // an icon
  write.U16(1);  // one image
  write.U8(kIconSize);
  write.U8(kIconSize);
  write.U8(16);  // colours
  write.U8(0);
  write.U16(1);  // planes
  write.U16(4);  // bits per pixel
  write.U32(kImageSize);
  write.U32(kImageOffset);
  // The image: a bitmap of twice the height, colour rows then mask rows, bottom row first.
  write.U32(kHeaderSize);
  write.U32(kIconSize);
  write.U32(2 * kIconSize);
  write.U16(1);
  write.U16(4);
  for (int field = 0; field < 6; ++field)
    write.U32(0);  // no compression, sizes and colours implied
  for (const auto& colour : kPalette) {
    write.U8(colour[2]);
    write.U8(colour[1]);
    write.U8(colour[0]);
    write.U8(0);
  }
  const auto pixel = [&picture](int row, int column) {
    return picture.pixels[row * kIconSize + column];
  };
  for (int row = kIconSize - 1; row >= 0; --row) {
    for (int column = 0; column < kIconSize; column += 2) {
      // A transparent pixel is black in the colour image, so that the mask alone shows it.
      const auto left = static_cast<unsigned>(std::max<int>(pixel(row, column), 0));
      const auto right = static_cast<unsigned>(std::max<int>(pixel(row, column + 1), 0));
      write.U8(left << 4 | right);
    }
  }
  for (int row = kIconSize - 1; row >= 0; --row) {
    std::uint32_t mask = 0;  // most significant bit first: the leftmost pixel
    for (int column = 0; column < kIconSize; ++column) {
      if (pixel(row, column) == kTransparent) mask |= 0x80000000u >> column;
    }
    for (int shift = 24; shift >= 0; shift -= 8) write.U8((mask >> shift) & 0xFF);
  }
  return out;
}

}  // namespace tools::mkicon
