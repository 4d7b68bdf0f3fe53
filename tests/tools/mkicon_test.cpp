#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tools/mkicon/icon_picture.h"

namespace tools::mkicon {
namespace {

// A picture of one colour, with a few pixels drawn in by (row, column, character).
std::string Picture(char fill, std::initializer_list<std::tuple<int, int, char>> pixels = {}) {
  std::vector<std::string> rows(kIconSize, std::string(kIconSize, fill));
  for (const auto& [row, column, c] : pixels) rows[row][column] = c;
  std::string text = "# a comment line\n";
  for (const std::string& row : rows) text += row + "\r\n";
  return text;
}

IconPicture Parsed(const std::string& text) {
  IconPicture picture;
  std::string error;
  EXPECT_TRUE(ParsePicture(text, picture, error)) << error;
  return picture;
}

std::string ParseError(const std::string& text) {
  IconPicture picture;
  std::string error;
  EXPECT_FALSE(ParsePicture(text, picture, error));
  return error;
}

unsigned U16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8;
}

unsigned U32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return U16(bytes, at) | U16(bytes, at + 2) << 16;
}

constexpr std::size_t kBitmapAt = 22;                    // after the directory and its entry
constexpr std::size_t kColoursAt = kBitmapAt + 40 + 64;  // after the header and the palette
constexpr std::size_t kMaskAt = kColoursAt + 32 * 16;

TEST(MkiconParse, ReadsHexDigitsOfBothCasesAndTransparentPixels) {
  const IconPicture picture =
      Parsed(Picture('0', {{0, 0, 'F'}, {0, 31, 'a'}, {31, 5, '.'}, {9, 9, '7'}}));
  EXPECT_EQ(picture.pixels[0], 15);
  EXPECT_EQ(picture.pixels[31], 10);
  EXPECT_EQ(picture.pixels[31 * kIconSize + 5], kTransparent);
  EXPECT_EQ(picture.pixels[9 * kIconSize + 9], 7);
  EXPECT_EQ(picture.pixels[1], 0);
}

TEST(MkiconParse, RefusesPicturesOfTheWrongShapeNamingTheLine) {
  std::string shortRow = Picture('1');
  shortRow.erase(shortRow.find("\r\n") - 1, 1);  // line 2 loses one pixel
  EXPECT_NE(ParseError(shortRow).find("line 2"), std::string::npos);

  const std::string fewRows = Picture('1').substr(0, 17 + 10 * 34);
  EXPECT_NE(ParseError(fewRows).find("10 rows"), std::string::npos);

  EXPECT_NE(ParseError(Picture('1') + std::string(kIconSize, '2') + "\n").find("line 34"),
            std::string::npos);
}

TEST(MkiconParse, RefusesCharactersThatAreNoColour) {
  const std::string error = ParseError(Picture('3', {{4, 7, 'g'}}));
  EXPECT_NE(error.find("line 6"), std::string::npos);
  EXPECT_NE(error.find("'g'"), std::string::npos);
}

TEST(MkiconEncode, WritesOneSixteenColourImageOfThirtyTwoPixels) {
  const std::vector<std::uint8_t> icon = EncodeIcon(Parsed(Picture('0')));
  ASSERT_EQ(icon.size(), 22u + 40 + 64 + 32 * 16 + 32 * 4);
  EXPECT_EQ(U16(icon, 0), 0u);   // reserved
  EXPECT_EQ(U16(icon, 2), 1u);   // an icon, not a cursor
  EXPECT_EQ(U16(icon, 4), 1u);   // one image
  EXPECT_EQ(icon[6], 32);        // width
  EXPECT_EQ(icon[7], 32);        // height
  EXPECT_EQ(icon[8], 16);        // colours
  EXPECT_EQ(U16(icon, 12), 4u);  // bits per pixel
  EXPECT_EQ(U32(icon, 14), icon.size() - kBitmapAt);
  EXPECT_EQ(U32(icon, 18), kBitmapAt);
  EXPECT_EQ(U32(icon, kBitmapAt), 40u);
  EXPECT_EQ(U32(icon, kBitmapAt + 4), 32u);
  EXPECT_EQ(U32(icon, kBitmapAt + 8), 64u);  // colour image and mask together
  EXPECT_EQ(U16(icon, kBitmapAt + 14), 4u);
}

TEST(MkiconEncode, PaletteIsTheStandardOneInBlueGreenRedOrder) {
  const std::vector<std::uint8_t> icon = EncodeIcon(Parsed(Picture('0')));
  const auto entry = [&icon](int index) {
    const std::size_t at = kBitmapAt + 40 + 4 * static_cast<std::size_t>(index);
    return std::vector<int>{icon[at], icon[at + 1], icon[at + 2]};
  };
  EXPECT_EQ(entry(0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(entry(1), (std::vector<int>{0, 0, 128}));     // maroon
  EXPECT_EQ(entry(12), (std::vector<int>{255, 0, 0}));    // blue
  EXPECT_EQ(entry(14), (std::vector<int>{255, 255, 0}));  // aqua
  EXPECT_EQ(entry(15), (std::vector<int>{255, 255, 255}));
}

TEST(MkiconEncode, RowsRunBottomUpWithTheLeftPixelInTheHighNibble) {
  const std::vector<std::uint8_t> icon =
      EncodeIcon(Parsed(Picture('0', {{0, 0, 'F'}, {0, 1, '1'}, {31, 30, 'C'}})));
  EXPECT_EQ(icon[kColoursAt + 31 * 16], 0xF1);  // the top row is stored last
  EXPECT_EQ(icon[kColoursAt + 15], 0xC0);       // the bottom row first
  EXPECT_EQ(icon[kColoursAt], 0x00);
}

TEST(MkiconEncode, TransparentPixelsAreSetInTheMaskAndBlackInTheImage) {
  const std::vector<std::uint8_t> icon =
      EncodeIcon(Parsed(Picture('F', {{31, 0, '.'}, {31, 9, '.'}, {0, 31, '.'}})));
  EXPECT_EQ(icon[kMaskAt + 0], 0x80);  // bottom row, pixel 0: the highest bit
  EXPECT_EQ(icon[kMaskAt + 1], 0x40);  // pixel 9
  EXPECT_EQ(icon[kMaskAt + 2], 0x00);
  EXPECT_EQ(icon[kMaskAt + 31 * 4 + 3], 0x01);  // top row, pixel 31: the lowest bit
  EXPECT_EQ(icon[kColoursAt + 0], 0x0F);        // the clear pixel shows black, its neighbour white
  EXPECT_EQ(icon[kColoursAt + 1], 0xFF);
}

TEST(MkiconPicture, TheProgramsIconIsAValidPicture) {
  std::ifstream file(PELMORA_ICON_PICTURE);
  ASSERT_TRUE(file) << PELMORA_ICON_PICTURE;
  std::stringstream text;
  text << file.rdbuf();
  const IconPicture picture = Parsed(text.str());
  EXPECT_EQ(picture.pixels[0], kTransparent);  // round: the corners are clear
  EXPECT_NE(picture.pixels[16 * kIconSize + 16], kTransparent);
}

}  // namespace
}  // namespace tools::mkicon
