// "&New Folder": the prompt, the name rules, and where the folder list goes.
#include "platform/text/text.h"
#include "tests/ui/chooser_fixture.h"

namespace {

using namespace platform;
using ui_test::ChooserTest;

TEST_F(ChooserTest, ATrimmedNameIsCreatedInTheOpenFolderAndOpened) {
  Open("C:\\Games");
  backend.toolkit.AnswerInputBox("  Arcade  ");
  chooser->Command1.UserClick();
  ASSERT_EQ(backend.toolkit.InputBoxes().size(), 1u);
  EXPECT_EQ(backend.toolkit.InputBoxes()[0].prompt, "Enter a name for new folder :\r\rC:\\Games\\");
  EXPECT_EQ(backend.toolkit.InputBoxes()[0].title, "New Folder");
  EXPECT_EQ(backend.toolkit.InputBoxes()[0].defaultText, "");
  EXPECT_TRUE(drives.IsFolder("C:\\Games\\Arcade"));
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games\\Arcade");
  EXPECT_EQ(chooser->Dir1.Entries().back().name, "Arcade");
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ChooserTest, AtADriveRootThePromptAndThePathHaveOneBackslash) {
  Open("C:\\");
  backend.toolkit.AnswerInputBox("Pelmora2");
  chooser->Command1.UserClick();
  EXPECT_EQ(backend.toolkit.InputBoxes()[0].prompt, "Enter a name for new folder :\r\rC:\\");
  EXPECT_TRUE(drives.IsFolder("C:\\Pelmora2"));
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Pelmora2");
}

class InvalidName : public ChooserTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(InvalidName, IsRefusedAndNothingIsCreated) {
  Open("C:\\Games");
  const int folders = drives.FolderCount();
  backend.toolkit.AnswerInputBox(GetParam());
  chooser->Command1.UserClick();
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0].text, "Characters, like '\\*?,:' are invalid.");
  EXPECT_EQ(Messages()[0].style, 48);
  EXPECT_EQ(Messages()[0].title, "Invalid Characters");
  EXPECT_EQ(drives.FolderCount(), folders);
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
}

INSTANTIATE_TEST_SUITE_P(EachCharacter, InvalidName,
                         ::testing::Values("a,b", "sub\\dir", "a:b", "a*b", "what?", "\\Tools"));

TEST_F(ChooserTest, AnExistingFolderIsOpenedAndNotMadeAgain) {
  drives.MakeFile("C:\\Games\\Tools\\keep.txt");
  Open("C:\\Games");
  backend.toolkit.AnswerInputBox("tools");
  chooser->Command1.UserClick();
  EXPECT_EQ(backend.faults.Calls("MkDir"), 0);
  EXPECT_TRUE(EqualsIgnoringCase(chooser->Dir1.Path(), "C:\\Games\\Tools"));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ChooserTest, CancelAnEmptyReplyOrBlanksDoNothing) {
  Open("C:\\Games");
  const int folders = drives.FolderCount();
  backend.toolkit.AnswerInputBox("");
  backend.toolkit.AnswerInputBox("    ");
  for (int click = 0; click < 3; ++click) chooser->Command1.UserClick();  // the last one cancels
  EXPECT_EQ(backend.toolkit.InputBoxes().size(), 3u);
  EXPECT_EQ(backend.faults.Calls("MkDir"), 0);
  EXPECT_EQ(drives.FolderCount(), folders);
  EXPECT_EQ(chooser->Dir1.Path(), "C:\\Games");
  EXPECT_TRUE(Messages().empty());
}

}  // namespace
