// The Wine robot: drives a Windows program by a script of simple steps.
//   robot [--shots FOLDER] [--pace N] SCRIPT [NAME=VALUE...]
// runs SCRIPT; ${NAME} stands for VALUE. On a machine N times slower than the scripts' time-outs
// assume (PE32 programs under emulation), --pace N makes every time-out N times as long.
// Exit status: 0 when every step passed, 1 when a step failed, 2 when the script or the
// command line cannot be used.
//
// Actions (script.h tells how lines are read; every wait ends after the time-out):
//   timeout SECONDS               the time-out of the waits that follow (10 s at the start),
//                                 times the pace
//   start PROGRAM [ARGUMENT...]   starts the program under test in its own folder; a program
//                                 started before keeps running, "exit" waits for the latest
//   window TITLE                  waits for a visible window with this title; steps below act on it
//   click CONTROL                 waits until the control can be used, then clicks it
//   close                         the window's close box
//   expect STATE CONTROL          waits until the control is enabled, disabled, checked,
//                                 unchecked, visible, hidden or the default button
//   expect text CONTROL TEXT      waits until the control's text is TEXT
//   answer TITLE BUTTON [TEXT]    waits for a message box, checks that it says TEXT, presses
//                                 BUTTON and waits until the box has gone
//   gone TITLE                    waits until no window has this title
//   ended PROGRAM                 waits until no process of the image name PROGRAM
//                                 ("Pelmora.exe") runs
//   exit [CODE]                   waits until the latest program ends, and checks its exit
//                                 code; the one started before it is then the latest
//   screenshot NAME               saves the screen as NAME.bmp in the --shots folder
//   type CONTROL TEXT             puts TEXT into a text field, in place of what it held
//   key KEY                       presses Enter, Space, Tab or Escape on the control that has
//                                 the focus
//   stopwatch                     starts the stopwatch
//   elapsed WHAT                  prints "robot: WHAT took N.NN s", the time since "stopwatch"
//   parent PROGRAM EXPECTED       waits for a process of the image name PROGRAM ("Pelmora.exe");
//                                 checks that each one was started by a process of the image
//                                 name EXPECTED ("explorer.exe")
//   dpi N                         the screen's DPI for the programs started after it
//   away                          the user turns to another program: a window of the robot's
//                                 own becomes the active window
//   mouse CONTROL                 clicks the middle of the control with the mouse, as the user
//                                 does, without waiting for it to be usable: in a disabled window
//                                 the click goes nowhere; fails when another window lies over it
//   edges RIGHT BOTTOM            waits until the window's right and bottom edges lie at these
//                                 pixels of the screen
//   client WIDTH HEIGHT           waits until the window's client area has this size in pixels
//   hang PROGRAM                  stops every process of the image name PROGRAM, as a program
//                                 that has hung: its windows answer no message
//   wake PROGRAM                  lets them go on again
// A CONTROL is a caption ("&" marks ignored); "@X,Y": the control under that point of the
// window's client area, in twips; or "@focus": the control that has the keyboard focus.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "tests/e2e/robot/runner.h"
#include "tests/e2e/robot/script.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUnusable = 2;

struct CommandLine {
  std::wstring script;
  std::wstring shots = L".";
  unsigned pace = 1;
  robot::Definitions definitions;
};

bool ReadCommandLine(int argc, wchar_t** argv, CommandLine& line) {
  int at = 1;
  for (; at + 1 < argc && argv[at][0] == L'-'; at += 2) {
    const std::wstring option = argv[at];
    if (option == L"--shots") {
      line.shots = argv[at + 1];
    } else if (option == L"--pace") {
      line.pace = static_cast<unsigned>(std::wcstoul(argv[at + 1], nullptr, 10));
      if (line.pace == 0) return false;
    } else {
      return false;
    }
  }
  if (at >= argc) return false;
  line.script = argv[at++];
  for (; at < argc; ++at) {
    const std::string definition = platform::win32::Utf8(argv[at]);
    const std::size_t equals = definition.find('=');
    if (equals == std::string::npos || equals == 0) return false;
    line.definitions[definition.substr(0, equals)] = definition.substr(equals + 1);
  }
  return true;
}

bool ReadScriptFile(const std::wstring& path, std::string& text) {
  FILE* file = _wfopen(path.c_str(), L"rb");
  if (!file) return false;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
    text.append(buffer, got);
  std::fclose(file);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return true;
}

std::string FileName(const std::wstring& path) {
  return platform::win32::Utf8(path.substr(path.find_last_of(L"\\/") + 1));
}

int RunScript(const CommandLine& line) {
  const std::string name = FileName(line.script);
  std::string text;
  if (!ReadScriptFile(line.script, text)) {
    std::printf("robot: cannot read %s\n", platform::win32::Utf8(line.script).c_str());
    return kUnusable;
  }
  std::vector<robot::Step> steps;
  try {
    steps = robot::ParseScript(text, line.definitions);
  } catch (const robot::ScriptError& error) {
    std::printf("robot: %s:%d: %s\n", name.c_str(), error.Line(), error.what());
    return kUnusable;
  }
  std::string why;
  if (const robot::Step* misfit = robot::Runner::FindMisfit(steps, why)) {
    std::printf("robot: %s:%d: %s\n", name.c_str(), misfit->line, why.c_str());
    return kUnusable;
  }
  robot::Runner runner({name, line.shots, line.pace});
  return runner.Run(steps) ? 0 : kFailed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  SetProcessDPIAware();
  CommandLine line;
  if (!ReadCommandLine(argc, argv, line)) {
    std::printf("usage: robot [--shots FOLDER] [--pace N] SCRIPT [NAME=VALUE...]\n");
    return kUnusable;
  }
  return RunScript(line);
}
