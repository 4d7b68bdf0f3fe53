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
// saw while the program was busy, and tells the toolkit when it comes to the top and when it
// goes, so that a box knows whom it belongs to.
class HeadlessFormPeer : public FormPeer {
 public:
  HeadlessFormPeer(PortableToolkit& toolkit, const Form& form) : toolkit_(toolkit), form_(form) {}
  ~HeadlessFormPeer() override { toolkit_.FormGone(form_); }
  HeadlessFormPeer(const HeadlessFormPeer&) = delete;
  HeadlessFormPeer& operator=(const HeadlessFormPeer&) = delete;

  void FormChanged(FormProperty property) override {
    if (property == FormProperty::kVisible && form_.Visible()) toolkit_.BringToTop(form_);
  }
  void ControlChanged(Control&, Property) override {}
  void ControlAdded(Control&) override {}
  void Repaint(Control& control) override {
    toolkit_.RecordRepaint(control.Name(), control.Caption());
  }
  void Focus(Control* control) override {
    if (control == nullptr) toolkit_.BringToTop(form_);
  }

 private:
  PortableToolkit& toolkit_;
  const Form& form_;
};

void PortableToolkit::AtEventPump(int nth, std::function<void()> action) {
  pumpActions_.emplace(eventPumps_ + nth, std::move(action));
}

void PortableToolkit::ClearRecords() {
  messages_.clear();
  inputBoxes_.clear();
  started_.clear();
  errorReports_.clear();
  repaints_.clear();
}

int PortableToolkit::MsgBox(const std::string& text, int style, const std::string& title) {
  faults_.Step();  // a program that asks again and again hangs as well
  int answer = UnscriptedAnswer(style);
  if (!messageAnswers_.empty()) {
    Answer scripted = std::move(messageAnswers_.front());
    messageAnswers_.pop_front();
    if (scripted.first) scripted.first();
    answer = scripted.button;
  }
  messages_.push_back({text, style, title, answer, BoxOwner()});
  return answer;
}

std::string PortableToolkit::InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) {
  inputBoxes_.push_back({prompt, title, defaultText, BoxOwner()});
  if (inputAnswers_.empty()) return {};
  std::string reply = std::move(inputAnswers_.front());
  inputAnswers_.pop_front();
  return reply;
}

void PortableToolkit::DoEvents() {
  faults_.Step();
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

std::unique_ptr<FormPeer> PortableToolkit::CreateFormPeer(Form& form) {
  return std::make_unique<HeadlessFormPeer>(*this, form);
}

void PortableToolkit::BringToTop(const Form& form) {
  FormGone(form);
  const bool backdrop = form.Design().role == WindowRole::kBackdrop;
  formsBottomUp_.insert(backdrop ? formsBottomUp_.begin() : formsBottomUp_.end(), &form);
}

void PortableToolkit::FormGone(const Form& form) {
  formsBottomUp_.erase(std::remove(formsBottomUp_.begin(), formsBottomUp_.end(), &form),
                       formsBottomUp_.end());
}

std::string PortableToolkit::BoxOwner() const {
  for (auto form = formsBottomUp_.rbegin(); form != formsBottomUp_.rend(); ++form) {
    if ((*form)->Visible()) return (*form)->Name();
  }
  return {};
}

}  // namespace platform::portable
