#pragma once
// One run of the fault sweep: a machine with two earlier installations, a walk through the
// wizard from its start to the end of the program, and the rules every run must keep,
// whatever the platform did to it.
#include <array>
#include <functional>
#include <string>

#include "platform/portable/fault_plan.h"

namespace app_test {

// The earlier installation's folder, which its records name, and the folder of an older copy,
// which the user may choose in its place.
inline constexpr char kEarlierDestination[] = "D:\\Pelmora";
inline constexpr char kOlderCopy[] = "C:\\Program Files\\Pelmora";

// A user's way through the wizard: page 2 agreed, the destination kept or chosen on page 3,
// the run, and "Finish" with "Run PLM now." ticked.
struct Walk {
  const char* name;
  // The setup runs as it does on a system with user account control.
  bool elevated;
  // Program Manager answers; without it the run makes the program group itself.
  bool programManager;
  // Where the walk installs: page 3 proposes the earlier installation's folder, and "Change
  // Dir" leads to any other, folder by folder from its drive down.
  const char* destination;
};

inline constexpr std::array<Walk, 2> kWalks = {{
    {"through the chooser, elevated", true, true, kOlderCopy},
    {"into the earlier installation's folder, unelevated, without Program Manager", false, false,
     kEarlierDestination},
}};

// How a run ended.
enum class Ending { kComplete, kFinishedWithErrors, kStopped, kRefusedOnPage3, kHung };

const char* NameOf(Ending ending);

struct SweptRun {
  Ending ending;
  std::string destination;  // the wizard's as the run began, or empty when it did not
  int totalCalls;  // platform calls of any kind
  std::array<int, platform::portable::kFaultPoints.size()> calls;  // by fault point
};

// Runs `walk` with the faults that `planFaults` lays, at most `stepLimit` steps of the program
// from its start, and checks every rule under the trace `point`.
SweptRun RunAndJudge(const Walk& walk, int stepLimit,
                     const std::function<void(platform::portable::FaultPlan&)>& planFaults,
                     const std::string& point);

}  // namespace app_test
