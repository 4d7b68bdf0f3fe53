// The longest destination that an installation takes, counted as the system counts a path.
#include "ui/destination_length.h"

#include <gtest/gtest.h>

#include "platform/portable/portable_platform.h"

namespace {

class DestinationLengthTest : public ::testing::Test {
 protected:
  // Whether the destination is taken; a refusal must be the one warning.
  bool Accepts(const std::string& destination) {
    backend.toolkit.ClearRecords();
    const bool accepted = ui::AcceptDestinationLength(backend.toolkit, destination);
    const auto& messages = backend.toolkit.Messages();
    EXPECT_EQ(messages.size(), accepted ? 0u : 1u);
    if (!messages.empty()) {
      EXPECT_EQ(messages[0].text, "The destination can have at most 235 characters.");
      EXPECT_EQ(messages[0].title, "Warning");
      EXPECT_EQ(messages[0].style, 48);
    }
    return accepted;
  }

  platform::portable::PortablePlatform backend;
};

// The longest path is the uninstaller's new file with a spare digit, "\Uninstall PLM.exe.new_1":
// 24 characters after the destination, of the system's 259.
TEST_F(DestinationLengthTest, TheDestinationLeavesRoomForTheUninstallersNewFile) {
  EXPECT_TRUE(Accepts("C:\\Pelmora"));
  EXPECT_TRUE(Accepts("C:\\" + std::string(232, 'a')));
  EXPECT_FALSE(Accepts("C:\\" + std::string(233, 'a')));
}

// The system counts UTF-16 units: a Turkish letter (two bytes in UTF-8) is one, a character
// beyond the first 65,536 (four bytes) two.
TEST_F(DestinationLengthTest, CharactersAreCountedAsTheSystemCountsThem) {
  std::string turkish = "C:\\";
  for (int i = 0; i < 232; ++i) turkish += "ğ";
  EXPECT_TRUE(Accepts(turkish));
  EXPECT_FALSE(Accepts(turkish + "ğ"));
  const std::string note = "\xF0\x9F\x8E\xB5";  // a musical note, U+1F3B5
  EXPECT_TRUE(Accepts("C:\\" + std::string(230, 'a') + note));
  EXPECT_FALSE(Accepts("C:\\" + std::string(231, 'a') + note));
}

}  // namespace
