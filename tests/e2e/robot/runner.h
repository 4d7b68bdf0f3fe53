#pragma once
// Runs the steps of a script against the program it starts. Every wait has a time-out;
// the first step that fails is reported with its line and ends the run.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/robot/other_program.h"
#include "tests/e2e/robot/script.h"
#include "tests/e2e/robot/target.h"

namespace robot {

struct RunnerOptions {
  std::string scriptName;    // for messages: "pages.steps:12: ..."
  std::wstring shotsFolder;  // where "screenshot NAME" writes NAME.bmp
  unsigned pace = 1;         // every time-out is this many times as long
};

class Runner {
 public:
  explicit Runner(RunnerOptions options)
      : options_(std::move(options)), timeoutMs_(kDefaultTimeoutMs * options_.pace) {}

  // Returns the first step that does not fit any action, or null when all do.
  static const Step* FindMisfit(const std::vector<Step>& steps, std::string& why);
  // Runs the steps in order; true when every one passed. Stops the target at the end.
  bool Run(const std::vector<Step>& steps);

 private:
  using Args = std::vector<std::string>;
  struct Action {
    const char* name;
    std::size_t least, most;  // how many arguments it takes
    void (Runner::*run)(const Args&);
  };
  static const Action kActions[];
  static const Action* Find(const std::string& name);
  // Why a step fits no action, or an empty text when it fits.
  static std::string Misfit(const Step& step);

  void SetTimeout(const Args& args);
  void Start(const Args& args);
  void ChooseWindow(const Args& args);
  void Click(const Args& args);
  void CloseWindow(const Args& args);
  void Expect(const Args& args);
  void Answer(const Args& args);
  void WaitGone(const Args& args);
  void WaitEnded(const Args& args);
  void Hang(const Args& args);
  void Wake(const Args& args);
  void WaitExit(const Args& args);
  void Screenshot(const Args& args);
  void Type(const Args& args);
  void PressKey(const Args& args);
  void StartStopwatch(const Args& args);
  void ShowElapsed(const Args& args);
  void CheckParent(const Args& args);
  void SetDpi(const Args& args);
  void TurnAway(const Args& args);
  void ClickWithMouse(const Args& args);
  void ExpectEdges(const Args& args);
  void ExpectClientSize(const Args& args);

  // Polls `holds` until it is true; fails the step with `what` and the last reason given.
  void WaitUntil(const std::string& what, const std::function<bool(std::string& why)>& holds);
  HWND WaitTopWindow(const std::string& title, bool dialogsOnly);
  HWND WaitControl(HWND top, const std::string& reference, bool mustAcceptInput);
  HWND CurrentWindow() const;
  // Waits until `measure` gives the two numbers of `args`, in pixels.
  void ExpectPixels(const std::string& what, const Args& args,
                    const std::function<POINT(HWND)>& measure);
  bool Shoot(const std::string& name);
  void ReportFailure(const Step& step, const std::string& message);

  static constexpr DWORD kDefaultTimeoutMs = 10000;
  RunnerOptions options_;
  DWORD timeoutMs_;  // for every wait, until "timeout" changes it
  ULONGLONG stopwatchStartMs_ = 0;
  bool stopwatchStarted_ = false;
  HWND window_ = nullptr;
  std::string windowTitle_;
  Target target_;
  OtherProgram otherProgram_;
};

}  // namespace robot
