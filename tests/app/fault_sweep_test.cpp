// A whole installation over earlier ones, with every platform call failing in turn: once, and
// from then on; and with every write of the run torn or short. Whatever fails, no earlier file
// is lost or left partial, the success text is shown only for a complete installation, every
// shortfall is told, the temporary folder goes or the user is told that it stays, and no run
// hangs. Between them, the walks reach every fault point of the platform.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "tests/app/sweep_run.h"

namespace app_test {
namespace {

using platform::portable::FaultPlan;
using platform::portable::FaultPoint;
using platform::portable::FaultPointInfo;
using platform::portable::kFaultPoints;
using platform::portable::WriteOutcome;

class FaultSweep : public ::testing::Test {
 protected:
  // One run of `walk` with the plan's faults, judged, and what it ended as counted under `mode`.
  void Sweep(const Walk& walk, const std::string& mode, const std::string& point,
             const std::function<void(FaultPlan&)>& planFaults) {
    const SweptRun run = RunAndJudge(walk, stepLimit_, planFaults, point);
    NoteReached(run);
    ++endings_[mode][run.ending];
  }

  // The run without faults: it must complete, in a few hundred steps, and it sets the limit of
  // the faulted runs' steps.
  SweptRun Baseline(const Walk& walk) {
    const SweptRun run =
        RunAndJudge(walk, 10000, [](FaultPlan&) {}, std::string(walk.name) + ", no fault");
    EXPECT_EQ(run.ending, Ending::kComplete);
    EXPECT_EQ(run.destination, walk.destination);
    NoteReached(run);
    // A fault may add a few calls, messages and clean-up steps, never twice the run's.
    stepLimit_ = 2 * run.totalCalls + 100;
    return run;
  }

  void NoteReached(const SweptRun& run) {
    for (std::size_t point = 0; point < kFaultPoints.size(); ++point)
      reached_[point] = reached_[point] || run.calls[point] > 0;
  }

  std::vector<FaultPointInfo> Unreached() const {
    std::vector<FaultPointInfo> unreached;
    for (const auto& info : kFaultPoints) {
      if (!reached_[static_cast<std::size_t>(info.point)]) unreached.push_back(info);
    }
    return unreached;
  }

  void ExpectEveryFaultPointReached() const {
    for (const auto& info : Unreached())
      ADD_FAILURE() << "no walk reaches the fault point " << info.name;
  }

  void PrintEndings() const {
    std::printf("fault sweep:\n");
    for (const auto& [mode, counts] : endings_) {
      for (const auto& [ending, count] : counts)
        std::printf("  %s: %d %s\n", mode.c_str(), count, NameOf(ending));
    }
  }

 private:
  int stepLimit_ = 0;
  std::array<bool, kFaultPoints.size()> reached_{};
  std::map<std::string, std::map<Ending, int>> endings_;
};

const char* Persistence(bool persistent) { return persistent ? "from then on" : "once"; }

TEST_F(FaultSweep, NoFaultLosesAFileMisreportsAnythingOrHangsAndEveryFaultPointIsReached) {
  // The first walk meets every fault point but the one of a start without rights to pass on:
  // each of its platform calls fails in turn, and each of its writes is torn or short.
  const Walk& chooser = kWalks[0];
  const SweptRun baseline = Baseline(chooser);
  ASSERT_GT(baseline.totalCalls, 100);
  for (const bool persistent : {false, true}) {
    for (int call = 1; call <= baseline.totalCalls; ++call) {
      Sweep(chooser, Persistence(persistent),
            "call " + std::to_string(call) + " failing " + Persistence(persistent),
            [&](FaultPlan& faults) { faults.FailAnyCall(call, persistent); });
      if (HasFailure()) return;  // the first point that breaks a rule is the one to look at
    }
  }
  const int writes = baseline.calls[static_cast<std::size_t>(FaultPoint::kWrite)];
  ASSERT_GT(writes, 8) << "the run writes each item and each new file";
  for (const WriteOutcome outcome : {WriteOutcome::kTorn, WriteOutcome::kShort}) {
    for (const bool persistent : {false, true}) {
      const std::string mode = std::string(outcome == WriteOutcome::kTorn ? "torn" : "short") +
                               " writes " + Persistence(persistent);
      for (int write = 1; write <= writes; ++write) {
        Sweep(chooser, mode, "write " + std::to_string(write) + " " + mode,
              [&](FaultPlan& faults) { faults.SpoilWrite(outcome, write, persistent); });
        if (HasFailure()) return;
      }
    }
  }

  // The other walks are swept over the operations that no run before has reached.
  for (std::size_t w = 1; w < kWalks.size(); ++w) {
    const Walk& walk = kWalks[w];
    const std::vector<FaultPointInfo> unreached = Unreached();
    const SweptRun own = Baseline(walk);
    for (const auto& info : unreached) {
      for (const bool persistent : {false, true}) {
        const int calls = own.calls[static_cast<std::size_t>(info.point)];
        for (int call = 1; call <= calls; ++call) {
          Sweep(walk, std::string(walk.name) + ", " + Persistence(persistent),
                std::string(info.name) + " call " + std::to_string(call) + " failing " +
                    Persistence(persistent),
                [&](FaultPlan& faults) {
                  faults.Fail(info.name, info.anyCallError, call, persistent);
                });
          if (HasFailure()) return;
        }
      }
    }
  }
  ExpectEveryFaultPointReached();
  PrintEndings();
}

}  // namespace
}  // namespace app_test
