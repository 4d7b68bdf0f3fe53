#include "platform/portable/portable_toolkit.h"

#include <algorithm>
#include <utility>

#include "platform/forms/form.h"

namespace platform::portable {

namespace {

// What a box without a scripted answer returns (see AnswerMessageBox).
int UnscriptedAnswer(int style) {
  switch (style & 7) {
    case MsgBoxStyle::kYesNo:
      return (style & MsgBoxStyle::kDefaultButton2) != 0 ? kNo : kYes;
    case MsgBoxStyle::kRetryCancel:
      return kCancel;
    default:
      return kOk;
  }
}

}  // namespace

// A form without a window: it records repaints, so that a test can tell what the user
// saw while the program was busy.
class HeadlessFormPeer : public FormPeer {
 public:
  explicit HeadlessFormPeer(PortableToolkit& toolkit) : toolkit_(toolkit) {}
  void FormChanged(FormProperty) override {}
  void ControlChanged(Control&, Property) override {}
  void ControlAdded(Control&) override {}
  void Repaint(Control& control) override {
    toolkit_.RecordRepaint(control.Name(), control.Caption());
  }
  void Focus(Control*) override {}

 private:
  PortableToolkit& toolkit_;
};

void PortableToolkit::AtEventPump(int nth, std::function<void()> action) {
  pumpActions_.emplace(eventPumps_ + nth, std::move(action));
}

void PortableToolkit::SetTwipsPerPixel(int x, int y) {
  twipsPerPixelX_ = x;
  twipsPerPixelY_ = y;
}

void PortableToolkit::ClearRecords() {
  messages_.clear();
  inputBoxes_.clear();
  started_.clear();
  errorReports_.clear();
  repaints_.clear();
}

int PortableToolkit::MsgBox(const std::string& text, int style, const std::string& title) {
  int answer = UnscriptedAnswer(style);
  if (!messageAnswers_.empty()) {
    Answer scripted = std::move(messageAnswers_.front());
    messageAnswers_.pop_front();
    if (scripted.first) scripted.first();
    answer = scripted.button;
  }
  messages_.push_back({text, style, title, answer});
  return answer;
}

std::string PortableToolkit::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
  inputBoxes_.push_back({prompt, title, defaultText});
  if (inputAnswers_.empty()) return {};
  std::string reply = std::move(inputAnswers_.front());
  inputAnswers_.pop_front();
  return reply;
}

void PortableToolkit::DoEvents() {
  const int pump = ++eventPumps_;
  auto [first, last] = pumpActions_.equal_range(pump);
  std::vector<std::function<void()>> due;
  for (auto it = first; it != last; ++it) due.push_back(std::move(it->second));
  pumpActions_.erase(first, last);
  for (auto& action : due) action();
}

StartResult PortableToolkit::StartProgram(const std::string& path) {
  if (elevated_ && faults_.Check(FaultPoint::kShellStart) != 0) return StartResult::kOnlyElevated;
  if (!elevated_ && faults_.Check(FaultPoint::kStartProgram) != 0) return StartResult::kFailed;
  if (startable_ && !startable_(path)) return StartResult::kFailed;
  started_.push_back({path, elevated_});
  return StartResult::kStarted;
}

bool PortableToolkit::ClaimInstance(const std::string& name) {
  if (faults_.Check(FaultPoint::kClaimInstance) != 0) return true;
  return std::find(heldElsewhere_.begin(), heldElsewhere_.end(), name) == heldElsewhere_.end();
}

void PortableToolkit::EndProgram() {
  ended_ = true;
  throw ProgramEnded{};
}

void PortableToolkit::Fail(const std::string& text) {
  errorReports_.push_back(text);
  // Taken first: a failure inside the clean-up must not run it again.
  const FailureCleanUp cleanUp = std::exchange(failureCleanUp_, {});
  if (cleanUp.run != nullptr) cleanUp.run(cleanUp.context);
  PortableToolkit::EndProgram();
}

bool PortableToolkit::GetWorkArea(PixelRect& area) {
  if (faults_.Check(FaultPoint::kGetWorkArea) != 0 || !workArea_) return false;
  area = *workArea_;
  return true;
}

std::unique_ptr<FormPeer> PortableToolkit::CreateFormPeer(Form&) {
  return std::make_unique<HeadlessFormPeer>(*this);
}

}  // namespace platform::portable
