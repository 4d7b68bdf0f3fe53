#include "platform/forms/form.h"

#include <algorithm>

namespace platform {

Form::Form(Platform& platform, std::string name, FormDesign design)
    : platform_(platform), name_(std::move(name)), design_(std::move(design)) {}

Form::~Form() = default;

void Form::Load() {
  loaded_ = true;
  peer_ = platform_.toolkit.CreateFormPeer(*this);
  Form_Load();
}

void Form::Show() {
  if (!loaded_) Load();
  SetVisible(true);
  SetFocus();
}

bool Form::Unload(UnloadMode mode) {
  if (!loaded_) return true;
  std::int16_t cancel = 0;
  Form_QueryUnload(cancel, mode);
  if (cancel != 0) return false;
  Form_Unload(cancel);
  if (cancel != 0) return false;
  visible_ = false;
  peer_.reset();
  loaded_ = false;
  return true;
}

void Form::SetFocus() {
  if (peer_) peer_->Focus(nullptr);
}

void Form::SetVisible(bool visible) {
  if (visible && !loaded_) Load();
  if (visible_ == visible) return;
  visible_ = visible;
  FormChanged(FormProperty::kVisible);
}

void Form::SetCaption(std::string caption) {
  design_.caption = std::move(caption);
  FormChanged(FormProperty::kCaption);
}

void Form::SetWidth(int width) {
  design_.width = width;
  FormChanged(FormProperty::kSize);
}

void Form::SetHeight(int height) {
  design_.height = height;
  FormChanged(FormProperty::kSize);
}

void Form::ControlLoaded(Control& control) {
  if (peer_) peer_->ControlAdded(control);
}

void Form::Unregister(Control& control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
}

void Form::FormChanged(FormProperty property) {
  if (peer_) peer_->FormChanged(property);
}

}  // namespace platform
