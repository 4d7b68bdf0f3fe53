#include "platform/dde_link.h"

#include <gtest/gtest.h>

#include "platform/failure.h"
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
  link.SetLinkMode(LinkMode::kManual);
  EXPECT_EQ(backend.programManager.OpenConversations(), 1);
  link.LinkExecute("[CreateGroup(Pelmora)]");
  link.SetLinkMode(LinkMode::kNone);
  EXPECT_EQ(backend.programManager.OpenConversations(), 0);
  EXPECT_EQ(backend.programManager.Groups().count("Pelmora"), 1u);
}

TEST_F(DdeLinkTest, NoAnswerAndARefusedCommandArePlatformFailures) {
  link.SetLinkTopic("Progman|progman");
  backend.programManager.SetPresent(false);
  EXPECT_THROW(link.SetLinkMode(LinkMode::kManual), platform::PlatformFailure);
  backend.programManager.SetPresent(true);
  link.SetLinkMode(LinkMode::kManual);
  EXPECT_THROW(link.LinkExecute("[additem(\"C:\\nowhere.exe\",Nothing)]"), platform::PlatformFailure);
  EXPECT_THROW(link.LinkExecute("[Unknown()]"), platform::PlatformFailure);
}

TEST_F(DdeLinkTest, AnExecuteWithoutAConversationFails) {
  EXPECT_THROW(link.LinkExecute("[CreateGroup(Pelmora)]"), platform::PlatformFailure);
}

}  // namespace
