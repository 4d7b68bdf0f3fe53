#pragma once
// One run of the fault sweep: a machine with two earlier installations, a walk through the
// wizard from its start to the end of the program, and the rules every run must keep,
// whatever the platform did to it.
#include <array>
#include <functional>
#include <string>

#include "platform/portable/fault_plan.h"

namespace app_test {

// A user's way through the wizard.
struct Walk {
  const char* name;
  // The setup runs as it does on a system with user account control.
  bool elevated;
  // "Change Dir" on page 3, and in the chooser the folder of the older copy, which then
  // takes the new installation; otherwise the earlier installation's folder, as page 3
  // proposes it. Either way "Run PLM now." is ticked before "Finish".
  bool throughChooser;
};

inline constexpr std::array<Walk, 2> kWalks = {{
    {"through the chooser, elevated", true, true},
    {"into the earlier installation's folder", false, false},
}};

// How a run ended.
enum class Ending { kComplete, kFinishedWithErrors, kStopped, kRefusedOnPage3, kHung };

const char* NameOf(Ending ending);

struct SweptRun {
  Ending ending;
  int totalCalls;  // platform calls of any kind
  std::array<int, platform::portable::kFaultPoints.size()> calls;  // by fault point
};

// Runs `walk` with the faults that `planFaults` lays, at most `stepLimit` steps of the program
// from its start (0: no limit), and checks every rule under the trace `point`.
SweptRun RunAndJudge(const Walk& walk, int stepLimit,
                     const std::function<void(platform::portable::FaultPlan&)>& planFaults,
                     const std::string& point);

}  // namespace app_test
