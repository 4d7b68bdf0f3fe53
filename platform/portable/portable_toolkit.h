#pragma once
// The headless toolkit: message boxes and input boxes take scripted answers and record
// what they showed, user actions queued by a test fire at the event pumps, and ending the
// program unwinds to the test instead of exiting.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/portable/fault_plan.h"
#include "platform/services/toolkit.h"

namespace platform::portable {

// Thrown by EndProgram; deliberately not a std::exception, so that nothing on the way
// to the test mistakes it for a failure.
struct ProgramEnded {};

// A box belongs to the form shown on top when it comes up (the chooser over the wizard, the
// wizard over the backdrop), which waits for it: `owner` is that form's name, or empty when
// no form is shown.
struct ShownMessage {
  std::string text;
  int style = 0;
  std::string title;
  int answer = 0;
  std::string owner;
};

struct ShownInputBox {
  std::string prompt;
  std::string title;
  std::string defaultText;
  std::string owner;
};

// A program that StartProgram started: directly, or by the shell for an elevated program.
struct StartedProgram {
  std::string path;
  bool byShell = false;
};

// A repaint of a control, with its caption at that moment.
struct Repaint {
  std::string control;
  std::string caption;
};

class PortableToolkit : public Toolkit {
 public:
  explicit PortableToolkit(FaultPlan& faults) : faults_(faults) {}

  // Scripting.
  // The next message box is answered with `button`, after the user has done `first` (closed
  // another program). Without a scripted answer a box is answered with its default button,
  // as pressing Enter would; one that offers Retry is cancelled, as Escape would, so that an
  // unscripted test never waits for a change that nobody makes.
  void AnswerMessageBox(int button, std::function<void()> first = {}) {
    messageAnswers_.push_back({button, std::move(first)});
  }
  // The next input box returns `reply`; without one it is cancelled (empty text).
  void AnswerInputBox(std::string reply) { inputAnswers_.push_back(std::move(reply)); }
  // Runs `action` inside the `nth` event pump from now (1 = the next one).
  void AtEventPump(int nth, std::function<void()> action);
  void SetWorkArea(std::optional<PixelRect> area) { workArea_ = area; }
  void SetPixelsPerInch(int dpi) { pixelsPerInch_ = dpi; }
  void SetThousandsSeparator(std::string separator) { thousandsSeparator_ = std::move(separator); }
  // Where the program runs from: "C:\Setup\setup.exe".
  void SetProgramFile(std::string path) { programFile_ = std::move(path); }
  // Another process holds the instance of this name, as a second copy of a program finds.
  void HoldInstanceElsewhere(std::string name) { heldElsewhere_.push_back(std::move(name)); }
  // The program runs elevated, as the setup does on a system with user account control: it
  // starts programs through the shell (the fault point "ShellStart"), or not at all.
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // The programs that StartProgram can start; others fail to start.
  void SetStartableProgram(std::function<bool(const std::string&)> startable) {
    startable_ = std::move(startable);
  }

  // What happened.
  const std::vector<ShownMessage>& Messages() const { return messages_; }
  const std::vector<ShownInputBox>& InputBoxes() const { return inputBoxes_; }
  const std::vector<StartedProgram>& StartedPrograms() const { return started_; }
  const std::vector<std::string>& ErrorReports() const { return errorReports_; }
  const std::vector<Repaint>& Repaints() const { return repaints_; }
  int EventPumps() const { return eventPumps_; }
  bool Ended() const { return ended_; }
  void ClearRecords();

  // Toolkit.
  int MsgBox(const std::string& text, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title,
                       const std::string& defaultText) override;
  void DoEvents() override;
  StartResult StartProgram(const std::string& path) override;
  bool ClaimInstance(const std::string& name) override;
  [[noreturn]] void EndProgram() override;
  // Records the report, runs the clean-up and ends the program as EndProgram does.
  [[noreturn]] void Fail(const std::string& text) override;
  void SetFailureCleanUp(FailureCleanUp cleanUp) override { failureCleanUp_ = cleanUp; }
  bool GetWorkArea(PixelRect& area) override;
  int PixelsPerInch() override { return pixelsPerInch_; }
  std::string ThousandsSeparator() override { return thousandsSeparator_; }
  std::string ProgramFile() override { return programFile_; }
  std::unique_ptr<FormPeer> CreateFormPeer(Form& form) override;

 private:
  friend class HeadlessFormPeer;
  void RecordRepaint(const std::string& control, const std::string& caption) {
    repaints_.push_back({control, caption});
  }
  // The forms' order on the screen, as the system keeps it: a form that is shown or takes the
  // focus comes to the top, except the backdrop, which owns the others and stays under them.
  void BringToTop(const Form& form);
  void FormGone(const Form& form);
  std::string BoxOwner() const;

  FaultPlan& faults_;
  struct Answer {
    int button;
    std::function<void()> first;
  };
  std::deque<Answer> messageAnswers_;
  std::deque<std::string> inputAnswers_;
  std::multimap<int, std::function<void()>> pumpActions_;  // by pump number
  std::optional<PixelRect> workArea_ = PixelRect{0, 0, 1024, 738};
  int pixelsPerInch_ = 96;
  std::string thousandsSeparator_ = ",";
  std::string programFile_ = "C:\\Setup\\setup.exe";
  bool elevated_ = false;
  std::function<bool(const std::string&)> startable_;
  std::vector<std::string> heldElsewhere_;
  FailureCleanUp failureCleanUp_;

  std::vector<ShownMessage> messages_;
  std::vector<ShownInputBox> inputBoxes_;
  std::vector<StartedProgram> started_;
  std::vector<std::string> errorReports_;
  std::vector<Repaint> repaints_;
  std::vector<const Form*> formsBottomUp_;
  int eventPumps_ = 0;
  bool ended_ = false;
};

}  // namespace platform::portable
