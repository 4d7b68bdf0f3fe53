#include "platform/text/fixed_text.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/text/text.h"

namespace {

using platform::FixedText;

TEST(FixedTextTest, AnUnassignedTextHoldsNulsThatTrimmingKeeps) {
  FixedText text;
  EXPECT_TRUE(text.IsUnassigned());
  EXPECT_EQ(text.Trimmed(), std::string(256, '\0'));
  EXPECT_EQ(text.Left(2), std::string(2, '\0'));
}

TEST(FixedTextTest, AssignedValuesArePaddedWithBlanksAndTrimmedOnReading) {
  FixedText text;
  text = "  C:\\Games  ";
  EXPECT_FALSE(text.IsUnassigned());
  EXPECT_EQ(text.Trimmed(), "C:\\Games");
  EXPECT_EQ(text.Left(4), "  C:");
  text = "";
  EXPECT_EQ(text.Trimmed(), "");
  EXPECT_EQ(text.Left(3), "   ");
}

TEST(FixedTextTest, ALongValueIsCutAtTwoHundredFiftySixCharactersNotBytes) {
  FixedText text;
  text = std::string(300, 'x');
  EXPECT_EQ(text.Trimmed(), std::string(256, 'x'));

  std::string turkish;
  for (int i = 0; i < 300; ++i) turkish += "ş";  // two bytes each
  text = turkish;
  EXPECT_EQ(text.Trimmed().size(), 512u);
  EXPECT_EQ(text.Trimmed().substr(0, 2), "ş");
}

TEST(TextTest, TrimRemovesBlanksOnly) {
  EXPECT_EQ(platform::Trim("  a b  "), "a b");
  EXPECT_EQ(platform::Trim("\ta\t"), "\ta\t");
  EXPECT_EQ(platform::Trim(std::string("\0 ", 2)), std::string("\0", 1));
  EXPECT_EQ(platform::Trim("   "), "");
}

TEST(TextTest, DecimalTextWritesEveryDigitAndTheSign) {
  EXPECT_EQ(platform::DecimalText(0), "0");
  EXPECT_EQ(platform::DecimalText(7), "7");
  EXPECT_EQ(platform::DecimalText(-5), "-5");
  EXPECT_EQ(platform::DecimalText(1000), "1000");
  EXPECT_EQ(platform::DecimalText(2147483647), "2147483647");
  EXPECT_EQ(platform::DecimalText(INT32_MIN), "-2147483648");
}

TEST(TextTest, LeftCountsCharacters) {
  EXPECT_EQ(platform::LeftChars("çalış", 3), "çal");
  EXPECT_EQ(platform::LeftChars("ab", 5), "ab");
}

}  // namespace
