#include "demo/uninstall/removal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "demo/uninstall/uninstall_texts.h"

namespace demo {
namespace {

// A thing to remove, with what its check says and whether its removal works.
struct Thing {
  std::string label;
  Presence presence;
  bool removable = true;
  bool isLeftover = true;
  int removals = 0;
};

std::vector<RemovalStep> StepsFor(std::vector<Thing>& things) {
  std::vector<RemovalStep> steps;
  for (Thing& thing : things) {
    steps.push_back({thing.label, [&thing] { return thing.presence; },
                     [&thing] {
                       ++thing.removals;
                       if (thing.removable) thing.presence = Presence::Absent;
                       return thing.removable;
                     },
                     thing.isLeftover});
  }
  return steps;
}

TEST(Removal, RemovesWhatIsPresentOrUncheckableAndLeavesTheAbsentAlone) {
  std::vector<Thing> things = {{"a", Presence::Present}, {"b", Presence::Absent},
                               {"c", Presence::Unknown}};
  const RemovalResult result = RemoveAll(StepsFor(things));

  EXPECT_EQ(result.removed, (std::vector<std::string>{"a", "c"}));
  EXPECT_TRUE(result.failed.empty());
  EXPECT_EQ(things[1].removals, 0);
  EXPECT_EQ(ReportText(result), kRemovedText);
}

TEST(Removal, ReportsEveryFailureByNameAndGoesOn) {
  std::vector<Thing> things = {{"C:\\P\\Beep.wav", Presence::Present, false},
                               {"C:\\P\\Stop.wav", Presence::Present},
                               {"HKEY_LOCAL_MACHINE\\Software\\Quorvalen\\PLM", Presence::Unknown,
                                false}};
  const RemovalResult result = RemoveAll(StepsFor(things));

  EXPECT_EQ(things[1].removals, 1);
  EXPECT_EQ(result.removed, (std::vector<std::string>{"C:\\P\\Stop.wav"}));
  EXPECT_EQ(ReportText(result), std::string(kLeftBehindText) +
                                    "\n\nC:\\P\\Beep.wav"
                                    "\nHKEY_LOCAL_MACHINE\\Software\\Quorvalen\\PLM");
}

TEST(Removal, SecondRunFindsNothingLeftAndSaysSo) {
  std::vector<Thing> things = {{"a", Presence::Present}, {"b", Presence::Present}};
  const std::vector<RemovalStep> steps = StepsFor(things);
  ASSERT_TRUE(AnythingLeft(steps));
  RemoveAll(steps);

  EXPECT_FALSE(AnythingLeft(steps));
  const RemovalResult again = RemoveAll(steps);
  EXPECT_TRUE(again.removed.empty());
  EXPECT_TRUE(again.failed.empty());
  EXPECT_EQ(ReportText(again), kNothingLeftText);
  EXPECT_EQ(things[0].removals, 1);
}

TEST(Removal, WhatIsNoLeftoverDoesNotCountAsLeftButIsStillRemoved) {
  // The uninstaller's own file in an otherwise empty folder.
  std::vector<Thing> things = {{"Uninstall PLM.exe", Presence::Present, true, false},
                               {"Pelmora.exe", Presence::Absent},
                               {"folder", Presence::Present, true, false}};
  const std::vector<RemovalStep> steps = StepsFor(things);
  EXPECT_FALSE(AnythingLeft(steps));

  things[1].presence = Presence::Present;
  EXPECT_TRUE(AnythingLeft(steps));
  EXPECT_EQ(RemoveAll(steps).removed.size(), 3u);
}

TEST(Removal, AnUncheckableLeftoverCountsAsLeft) {
  std::vector<Thing> things = {{"group", Presence::Unknown}};
  EXPECT_TRUE(AnythingLeft(StepsFor(things)));
}

}  // namespace
}  // namespace demo
