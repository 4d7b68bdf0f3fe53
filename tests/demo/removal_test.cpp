#include "demo/uninstall/removal.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The things of the running test. A step's check and removal are plain functions of its
// target, here the thing's label.
std::vector<Thing> things;

Thing& Named(std::string_view label) {
  return *std::find_if(things.begin(), things.end(),
                       [label](const Thing& thing) { return thing.label == label; });
}

Presence CheckThing(std::string_view label) { return Named(label).presence; }

bool RemoveThing(std::string_view label) {
  Thing& thing = Named(label);
  ++thing.removals;
  if (thing.removable) thing.presence = Presence::Absent;
  return thing.removable;
}

std::vector<RemovalStep> StepsFor(std::vector<Thing> list) {
  things = std::move(list);
  std::vector<RemovalStep> steps;
  for (const Thing& thing : things) {
    steps.push_back({thing.label, thing.label, CheckThing, RemoveThing, thing.isLeftover});
  }
  return steps;
}

std::vector<Outcome> OutcomesOf(const std::vector<RemovalStep>& steps) {
  std::vector<Outcome> outcomes;
  for (const RemovalStep& step : steps) outcomes.push_back(step.outcome);
  return outcomes;
}

TEST(Removal, RemovesWhatIsPresentOrUncheckableAndLeavesTheAbsentAlone) {
  std::vector<RemovalStep> steps =
      StepsFor({{"a", Presence::Present}, {"b", Presence::Absent}, {"c", Presence::Unknown}});

  EXPECT_TRUE(RemoveAll(steps));
  EXPECT_EQ(OutcomesOf(steps),
            (std::vector{Outcome::Removed, Outcome::NothingThere, Outcome::Removed}));
  EXPECT_EQ(things[1].removals, 0);
  EXPECT_EQ(Report(steps).view(), kRemovedText);
}

TEST(Removal, ReportsEveryFailureByNameAndGoesOn) {
  std::vector<RemovalStep> steps =
      StepsFor({{"C:\\P\\Beep.wav", Presence::Present, false},
                {"C:\\P\\Stop.wav", Presence::Present},
                {"HKEY_LOCAL_MACHINE\\Software\\Quorvalen\\PLM", Presence::Unknown, false}});

  EXPECT_FALSE(RemoveAll(steps));
  EXPECT_EQ(things[1].removals, 1);
  EXPECT_EQ(OutcomesOf(steps), (std::vector{Outcome::Failed, Outcome::Removed, Outcome::Failed}));
  EXPECT_EQ(Report(steps).view(), std::string(kLeftBehindText) +
                                      "\n\nC:\\P\\Beep.wav"
                                      "\nHKEY_LOCAL_MACHINE\\Software\\Quorvalen\\PLM");
}

TEST(Removal, SecondRunFindsNothingLeftAndSaysSo) {
  std::vector<RemovalStep> steps = StepsFor({{"a", Presence::Present}, {"b", Presence::Present}});
  ASSERT_TRUE(AnythingLeft(steps));
  RemoveAll(steps);

  EXPECT_FALSE(AnythingLeft(steps));
  EXPECT_TRUE(RemoveAll(steps));
  EXPECT_EQ(OutcomesOf(steps), (std::vector{Outcome::NothingThere, Outcome::NothingThere}));
  EXPECT_EQ(Report(steps).view(), kNothingLeftText);
  EXPECT_EQ(things[0].removals, 1);
}

TEST(Removal, WhatIsNoLeftoverDoesNotCountAsLeftButIsStillRemoved) {
  // The uninstaller's own file in an otherwise empty folder.
  std::vector<RemovalStep> steps = StepsFor({{"Uninstall PLM.exe", Presence::Present, true, false},
                                             {"Pelmora.exe", Presence::Absent},
                                             {"folder", Presence::Present, true, false}});
  EXPECT_FALSE(AnythingLeft(steps));

  things[1].presence = Presence::Present;
  EXPECT_TRUE(AnythingLeft(steps));
  EXPECT_TRUE(RemoveAll(steps));
  EXPECT_EQ(OutcomesOf(steps), std::vector<Outcome>(3, Outcome::Removed));
}

TEST(Removal, AnUncheckableLeftoverCountsAsLeft) {
  EXPECT_TRUE(AnythingLeft(StepsFor({{"group", Presence::Unknown}})));
}

}  // namespace
}  // namespace demo
