#include "platform/forms/dde_link.h"

#include <gtest/gtest.h>

#include "platform/portable/portable_platform.h"

namespace {

using platform::LinkMode;

class DdeLinkTest : public ::testing::Test {
 protected:
  platform::portable::PortablePlatform backend;
  platform::DdeLink link{backend.programManager};
};

TEST_F(DdeLinkTest, ManualModeOpensTheConversationAndNoLinkClosesIt) {
  link.SetLinkTopic("Progman|progman");
  EXPECT_TRUE(link.SetLinkMode(LinkMode::kManual));
  EXPECT_EQ(backend.programManager.OpenConversations(), 1);
  EXPECT_TRUE(link.LinkExecute("[CreateGroup(Pelmora)]"));
  link.SetLinkMode(LinkMode::kNone);
  EXPECT_EQ(backend.programManager.OpenConversations(), 0);
  EXPECT_EQ(backend.programManager.Groups().count("Pelmora"), 1u);
}

TEST_F(DdeLinkTest, NoAnswerARefusedCommandAndNoConversationAreFailures) {
  link.SetLinkTopic("Progman|progman");
  EXPECT_FALSE(link.LinkExecute("[CreateGroup(Pelmora)]"));
  backend.programManager.SetPresent(false);
  EXPECT_FALSE(link.SetLinkMode(LinkMode::kManual));
  EXPECT_EQ(link.Mode(), LinkMode::kNone);
  backend.programManager.SetPresent(true);
  ASSERT_TRUE(link.SetLinkMode(LinkMode::kManual));
  EXPECT_FALSE(link.LinkExecute("[additem(\"C:\\nowhere.exe\",Nothing)]"));
  EXPECT_FALSE(link.LinkExecute("[Unknown()]"));
}

}  // namespace
