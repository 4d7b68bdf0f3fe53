#include "tests/e2e/robot/runner.h"

#include <cstdio>
#include <cstdlib>

#include "platform/win32/wide.h"
#include "tests/e2e/robot/desktop.h"
#include "tests/e2e/robot/press.h"
#include "tests/e2e/robot/processes.h"
#include "tests/e2e/robot/screen_shot.h"

namespace robot {
namespace {

using platform::win32::Utf8;
using platform::win32::Wide;

constexpr DWORD kPollMs = 50;
// How long a window may take to answer a question about its state.
constexpr UINT kAnswerMs = 2000;
// Time for the last changes to reach the screen before a picture is taken.
constexpr DWORD kPaintMs = 300;
// Time for a program to take a mouse click and open what it opens, times the pace.
constexpr DWORD kClickSettleMs = 1000;
// Where the system keeps the screen's DPI that a program reads when it starts.
constexpr wchar_t kDesktopSettings[] = L"Control Panel\\Desktop";

class StepFailed : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

void Say(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, 0, SMTO_ABORTIFHUNG, kAnswerMs, &result);
  return static_cast<LRESULT>(result);
}

bool IsEnabled(HWND control) { return IsWindowEnabled(control) != FALSE; }
bool IsDisabled(HWND control) { return !IsEnabled(control); }
bool IsChecked(HWND control) { return Ask(control, BM_GETCHECK) == BST_CHECKED; }
bool IsUnchecked(HWND control) { return !IsChecked(control); }
bool IsHidden(HWND control) { return !IsShowing(control); }

// The button that Enter presses: marked so by its style, or named by its dialog.
bool IsDefault(HWND control) {
  if ((GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return true;
  const LRESULT id = Ask(GetParent(control), DM_GETDEFID);
  return HIWORD(id) == DC_HASDEFID && LOWORD(id) == GetDlgCtrlID(control);
}

struct State {
  const char* name;
  bool (*holds)(HWND);
  const char* otherwise;
};

const State kStates[] = {
    {"enabled", IsEnabled, "disabled"},
    {"disabled", IsDisabled, "enabled"},
    {"checked", IsChecked, "not checked"},
    {"unchecked", IsUnchecked, "checked"},
    {"visible", IsShowing, "hidden"},
    {"hidden", IsHidden, "visible"},
    {"default", IsDefault, "not the default button"},
};
// "expect text CONTROL TEXT" compares the control's text.
constexpr const char* kTextState = "text";

const State* FindState(const std::string& name) {
  for (const State& state : kStates)
    if (name == state.name) return &state;
  return nullptr;
}

struct Key {
  const char* name;
  UINT code;
};

const Key kKeys[] = {
    {"Enter", VK_RETURN}, {"Space", VK_SPACE}, {"Tab", VK_TAB}, {"Escape", VK_ESCAPE}};

// The virtual-key code of a key name, or 0.
UINT KeyCode(const std::string& name) {
  for (const Key& key : kKeys)
    if (name == key.name) return key.code;
  return 0;
}

std::string Seconds(DWORD ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
  return text;
}

}  // namespace

const Runner::Action Runner::kActions[] = {
    {"timeout", 1, 1, &Runner::SetTimeout},  {"start", 1, 64, &Runner::Start},
    {"window", 1, 1, &Runner::ChooseWindow}, {"click", 1, 1, &Runner::Click},
    {"close", 0, 0, &Runner::CloseWindow},   {"expect", 2, 3, &Runner::Expect},
    {"answer", 2, 3, &Runner::Answer},       {"gone", 1, 1, &Runner::WaitGone},
    {"exit", 0, 1, &Runner::WaitExit},       {"screenshot", 1, 1, &Runner::Screenshot},
    {"type", 2, 2, &Runner::Type},           {"stopwatch", 0, 0, &Runner::StartStopwatch},
    {"elapsed", 1, 1, &Runner::ShowElapsed}, {"key", 1, 1, &Runner::PressKey},
    {"parent", 2, 2, &Runner::CheckParent},  {"ended", 1, 1, &Runner::WaitEnded},
    {"dpi", 1, 1, &Runner::SetDpi},          {"away", 0, 0, &Runner::TurnAway},
    {"mouse", 1, 1, &Runner::ClickWithMouse}, {"edges", 2, 2, &Runner::ExpectEdges},
    {"client", 2, 2, &Runner::ExpectClientSize}, {"hang", 1, 1, &Runner::Hang},
    {"wake", 1, 1, &Runner::Wake},
};

const Runner::Action* Runner::Find(const std::string& name) {
  for (const Action& action : kActions)
    if (name == action.name) return &action;
  return nullptr;
}

std::string Runner::Misfit(const Step& step) {
  const Action* action = Find(step.words[0]);
  if (!action) return "unknown action " + Quote(step.words[0]);
  const std::size_t count = step.words.size() - 1;
  if (count < action->least || count > action->most)
    return step.words[0] + " takes " + std::to_string(action->least) +
           (action->least == action->most ? "" : " to " + std::to_string(action->most)) +
           (action->most == 1 ? " argument" : " arguments");
  if (action->run == &Runner::PressKey && !KeyCode(step.words[1]))
    return "unknown key " + Quote(step.words[1]) + ": Enter, Space, Tab or Escape";
  if (action->run != &Runner::Expect) return {};
  const std::string& state = step.words[1];
  if (state == kTextState) return count == 3 ? "" : "expect text takes a control and a text";
  if (!FindState(state))
    return "unknown state " + Quote(state) +
           ": enabled, disabled, checked, unchecked, visible, hidden, default or text";
  return count == 2 ? "" : "expect " + state + " takes one control";
}

const Step* Runner::FindMisfit(const std::vector<Step>& steps, std::string& why) {
  for (const Step& step : steps) {
    why = Misfit(step);
    if (!why.empty()) return &step;
  }
  return nullptr;
}

bool Runner::Run(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    Say(options_.scriptName + ":" + std::to_string(step.line) + ": " + step.text);
    try {
      const Args args(step.words.begin() + 1, step.words.end());
      (this->*Find(step.words[0])->run)(args);
    } catch (const StepFailed& failure) {
      ReportFailure(step, failure.what());
      return false;
    }
  }
  target_.Stop();
  return true;
}

void Runner::ReportFailure(const Step& step, const std::string& message) {
  Say("robot: FAILED at " + options_.scriptName + ":" + std::to_string(step.line) + ": " +
      step.text);
  Say("robot:   " + message);
  std::string titles;
  for (const std::wstring& title : VisibleTitles()) titles += " " + Quote(Utf8(title));
  Say("robot:   windows on the screen:" + titles);
  const std::string shot =
      options_.scriptName.substr(0, options_.scriptName.rfind('.')) + "-failure";
  if (Shoot(shot)) Say("robot:   the screen is saved as " + shot + ".bmp");
  target_.Stop();
}

void Runner::WaitUntil(const std::string& what,
                       const std::function<bool(std::string& why)>& holds) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs_;
  std::string why;
  while (!holds(why)) {
    if (GetTickCount64() >= deadline)
      throw StepFailed(what + " did not happen within " + Seconds(timeoutMs_) + ": " + why);
    Sleep(kPollMs);
  }
}

HWND Runner::WaitTopWindow(const std::string& title, bool dialogsOnly) {
  HWND found = nullptr;
  const std::string kind = dialogsOnly ? "message box " : "window ";
  WaitUntil("the " + kind + Quote(title) + " to show", [&](std::string& why) {
    const auto windows = TopWindows(Wide(title), dialogsOnly);
    if (windows.size() == 1) found = windows[0];
    why = windows.empty() ? "there is none" : std::to_string(windows.size()) + " have the title";
    return windows.size() == 1;
  });
  return found;
}

HWND Runner::WaitControl(HWND top, const std::string& reference, bool mustAcceptInput) {
  HWND control = nullptr;
  WaitUntil("the control " + Quote(reference) + " to be ready", [&](std::string& why) {
    if (!IsWindow(top)) throw StepFailed("the window is gone");
    control = FindControl(top, reference, why);
    if (!control || !mustAcceptInput || AcceptsInput(control)) return control != nullptr;
    why = IsShowing(control) ? "it is disabled" : "it is hidden";
    return false;
  });
  return control;
}

HWND Runner::CurrentWindow() const {
  if (!window_) throw StepFailed("no window chosen yet: use \"window TITLE\" first");
  if (!IsWindow(window_)) throw StepFailed("the window " + Quote(windowTitle_) + " is gone");
  return window_;
}

void Runner::SetTimeout(const Args& args) {
  const double seconds = std::atof(args[0].c_str());
  if (seconds <= 0) throw StepFailed("the time-out must be a number of seconds above 0");
  timeoutMs_ = static_cast<DWORD>(seconds * 1000 * options_.pace);
}

void Runner::Start(const Args& args) {
  std::vector<std::wstring> arguments;
  for (std::size_t i = 1; i < args.size(); ++i) arguments.push_back(Wide(args[i]));
  if (const DWORD error = target_.Start(Wide(args[0]), arguments))
    throw StepFailed("could not start " + Quote(args[0]) + ": system error " +
                     std::to_string(error));
}

void Runner::ChooseWindow(const Args& args) {
  window_ = WaitTopWindow(args[0], false);
  windowTitle_ = args[0];
}

void Runner::Click(const Args& args) {
  if (!Press(WaitControl(CurrentWindow(), args[0], true), BM_CLICK))
    throw StepFailed("could not deliver the click");
}

void Runner::CloseWindow(const Args&) {
  if (!Press(CurrentWindow(), WM_SYSCOMMAND, SC_CLOSE))
    throw StepFailed("could not deliver the close command");
}

void Runner::Expect(const Args& args) {
  HWND top = CurrentWindow();
  const std::string& reference = args[1];
  if (args[0] == kTextState) {
    const std::wstring wanted = Wide(args[2]);
    WaitUntil("the text " + Quote(args[2]) + " in " + Quote(reference), [&](std::string& why) {
      HWND control = FindControl(top, reference, why);
      if (!control) return false;
      const std::wstring text = WindowText(control);
      why = "the text is " + Quote(Utf8(text));
      return text == wanted;
    });
    return;
  }
  const State& state = *FindState(args[0]);
  WaitUntil(Quote(reference) + " to be " + state.name, [&](std::string& why) {
    HWND control = FindControl(top, reference, why);
    if (!control) return false;
    why = std::string("it is ") + state.otherwise;
    return state.holds(control);
  });
}

void Runner::Answer(const Args& args) {
  HWND box = WaitTopWindow(args[0], true);
  if (args.size() > 2) {
    WaitUntil("the message " + Quote(args[2]), [&](std::string& why) {
      HWND text = FindControl(box, args[2], why);
      if (!text) why = "the box does not say it";
      return text != nullptr;
    });
  }
  if (!Press(WaitControl(box, args[1], true), BM_CLICK))
    throw StepFailed("could not deliver the click");
  WaitUntil("the message box to close", [&](std::string& why) {
    why = "it is still open";
    return !IsWindow(box) || !IsWindowVisible(box);
  });
}

void Runner::WaitGone(const Args& args) {
  WaitUntil("the window " + Quote(args[0]) + " to go", [&](std::string& why) {
    why = "it is still there";
    return TopWindows(Wide(args[0]), false).empty();
  });
}

// A program that ends lets go of its files only as its last thread ends, after its window has
// gone: a test that replaces its file waits for this.
void Runner::WaitEnded(const Args& args) {
  WaitUntil("every process " + Quote(args[0]) + " to end", [&](std::string& why) {
    why = "one is still running";
    return ProcessesNamed(Wide(args[0])).empty();
  });
}

// A program that stops answering, as a hung one does: its windows take no message.
void Runner::Hang(const Args& args) {
  if (HoldProcesses(Wide(args[0]), true) == 0)
    throw StepFailed("no process " + Quote(args[0]) + " could be stopped");
}

void Runner::Wake(const Args& args) {
  if (HoldProcesses(Wide(args[0]), false) == 0)
    throw StepFailed("no process " + Quote(args[0]) + " could be let go on");
}

void Runner::WaitExit(const Args& args) {
  if (!target_.Started()) throw StepFailed("no program is left to end");
  DWORD code = 0;
  if (!target_.WaitForExit(timeoutMs_, code))
    throw StepFailed("the program did not end within " + Seconds(timeoutMs_));
  if (!args.empty() && std::to_string(code) != args[0])
    throw StepFailed("the program ended with code " + std::to_string(code));
}

void Runner::Screenshot(const Args& args) {
  // The program paints after it has handled what is queued; give it that moment.
  if (window_ && IsWindow(window_)) Ask(window_, WM_NULL);
  Sleep(kPaintMs);
  if (!Shoot(args[0])) throw StepFailed("could not save the screen as " + args[0] + ".bmp");
}

void Runner::Type(const Args& args) {
  HWND field = WaitControl(CurrentWindow(), args[0], true);
  if (!IsTextField(field)) throw StepFailed("the control is not a text field");
  const std::wstring text = Wide(args[1]);
  DWORD_PTR accepted = 0;
  SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, kAnswerMs, &accepted);
  if (!accepted || WindowText(field) != text) throw StepFailed("the field did not take the text");
}

// The key goes where the keyboard sends it: to the control with the focus, through the
// program's own event loop, which gives the dialog keys (Enter, Tab, Escape) to its form.
void Runner::PressKey(const Args& args) {
  const UINT key = KeyCode(args[0]);
  HWND focus = WaitControl(CurrentWindow(), "@focus", false);
  const DWORD down = 1 | (MapVirtualKeyW(key, MAPVK_VK_TO_VSC) << 16);  // repeat count 1
  const DWORD up = down | 0xC0000000u;  // the key was down and is released
  if (!PostMessageW(focus, WM_KEYDOWN, key, static_cast<LPARAM>(down)) ||
      !PostMessageW(focus, WM_KEYUP, key, static_cast<LPARAM>(up)))
    throw StepFailed("could not deliver the key");
}

void Runner::StartStopwatch(const Args&) {
  stopwatchStartMs_ = GetTickCount64();
  stopwatchStarted_ = true;
}

void Runner::ShowElapsed(const Args& args) {
  if (!stopwatchStarted_) throw StepFailed("the stopwatch was not started");
  const auto ms = static_cast<double>(GetTickCount64() - stopwatchStartMs_);
  char took[32];
  std::snprintf(took, sizeof took, "%.2f s", ms / 1000.0);
  Say("robot: " + args[0] + " took " + took);
}

// Every process of that image name must have been started by a process of the expected one.
void Runner::CheckParent(const Args& args) {
  std::vector<RunningProcess> found;
  WaitUntil("a process " + Quote(args[0]), [&](std::string& why) {
    found = ProcessesNamed(Wide(args[0]));
    why = "there is none";
    return !found.empty();
  });
  for (const RunningProcess& process : found) {
    if (SameImage(process.parentImage, Wide(args[1]))) continue;
    throw StepFailed("process " + std::to_string(process.id) + " was started by " +
                     (process.parentImage.empty() ? "a process that has ended"
                                                  : Quote(Utf8(process.parentImage))));
  }
}

void Runner::SetDpi(const Args& args) {
  const DWORD dpi = static_cast<DWORD>(std::atoi(args[0].c_str()));
  if (dpi == 0) throw StepFailed("the DPI must be a number above 0");
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopSettings, 0, nullptr, 0,
                                   KEY_SET_VALUE, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(key, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                            sizeof dpi);
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS)
    throw StepFailed("could not set the DPI: system error " + std::to_string(status));
}

void Runner::TurnAway(const Args&) {
  if (!otherProgram_.TurnTo()) throw StepFailed("could not show a window of another program");
  WaitUntil("another program's window to be active", [&](std::string& why) {
    why = "the system did not make it the active window";
    return otherProgram_.Active();
  });
}

// The control need not accept input: where the user's click goes nowhere, so does this one.
void Runner::ClickWithMouse(const Args& args) {
  HWND control = WaitControl(CurrentWindow(), args[0], false);
  std::string why;
  const MouseResult result = MouseClick(control, kClickSettleMs * options_.pace, why);
  if (result == MouseResult::kFailed) throw StepFailed("could not click with the mouse: " + why);
  if (result == MouseResult::kGoesNowhere)
    Say("robot: the control or a window holding it is disabled: the click goes nowhere");
}

void Runner::ExpectEdges(const Args& args) {
  ExpectPixels("the window's right and bottom edges", args, [](HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return POINT{rect.right, rect.bottom};
  });
}

void Runner::ExpectClientSize(const Args& args) {
  ExpectPixels("the window's client area", args, [](HWND window) {
    RECT rect{};
    GetClientRect(window, &rect);
    return POINT{rect.right, rect.bottom};
  });
}

void Runner::ExpectPixels(const std::string& what, const Args& args,
                          const std::function<POINT(HWND)>& measure) {
  HWND window = CurrentWindow();
  const std::string wanted = args[0] + " x " + args[1];
  WaitUntil(what + " at " + wanted + " pixels", [&](std::string& why) {
    const POINT found = measure(window);
    const std::string seen = std::to_string(found.x) + " x " + std::to_string(found.y);
    why = "found " + seen;
    return seen == wanted;
  });
}

bool Runner::Shoot(const std::string& name) {
  return SaveScreen(options_.shotsFolder + L"\\" + Wide(name) + L".bmp");
}

}  // namespace robot
