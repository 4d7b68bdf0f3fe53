#include "platform/forms/controls.h"

#include "platform/forms/form.h"

namespace platform {

Control::Control(Form& owner, ControlKind kind, std::string name, Control* container,
                 const Bounds& bounds, int tabIndex)
    : owner_(owner),
      kind_(kind),
      name_(std::move(name)),
      container_(container),
      tabIndex_(tabIndex),
      bounds_(bounds) {
  owner_.Register(*this);
}

Control::~Control() { owner_.Unregister(*this); }

void Control::SetBounds(const Bounds& bounds) {
  bounds_ = bounds;
  Changed(Property::kBounds);
}

void Control::SetTop(int top) {
  bounds_.top = top;
  Changed(Property::kBounds);
}

void Control::SetWidth(int width) {
  bounds_.width = width;
  Changed(Property::kBounds);
}

void Control::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Changed(Property::kCaption);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Changed(Property::kVisible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Changed(Property::kEnabled);
}

void Control::Refresh() {
  if (FormPeer* peer = owner_.Peer()) peer->Repaint(*this);
}

void Control::SetFocus() {
  if (FormPeer* peer = owner_.Peer()) peer->Focus(this);
}

bool Control::IsShowing() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->visible_) return false;
  }
  return owner_.Visible();
}

bool Control::AcceptsInput() const {
  for (const Control* c = this; c != nullptr; c = c->container_) {
    if (!c->enabled_) return false;
  }
  return IsShowing();
}

void Control::Changed(Property property) {
  if (FormPeer* peer = owner_.Peer()) peer->ControlChanged(*this, property);
}

PictureBox::PictureBox(Form& owner, std::string name, Control* container, const Bounds& bounds,
                       int tabIndex)
    : Control(owner, ControlKind::kPictureBox, std::move(name), container, bounds, tabIndex),
      link_(owner.GetPlatform().dde) {}

void Image::SetPictureToIcon() {
  showsIcon_ = true;
  Changed(Property::kPicture);
}

void Label::SetLook(const Font& font, Colour foreColour, bool transparent) {
  font_ = font;
  foreColour_ = foreColour;
  transparent_ = transparent;
  Changed(Property::kColours);
}

CommandButton::CommandButton(Form& owner, std::string name, Control* container,
                             const Bounds& bounds, int tabIndex, std::string caption)
    : Control(owner, ControlKind::kCommandButton, std::move(name), container, bounds, tabIndex) {
  SetCaption(std::move(caption));
}

void CommandButton::UserClick() {
  if (AcceptsInput()) Click();
}

OptionButton::OptionButton(Form& owner, std::string name, Control* container, const Bounds& bounds,
                           int tabIndex, std::string caption)
    : Control(owner, ControlKind::kOptionButton, std::move(name), container, bounds, tabIndex) {
  SetCaption(std::move(caption));
}

void OptionButton::SetValue(bool selected) {
  if (selected) {
    for (Control* other : Owner().Controls()) {
      if (other != this && other->Kind() == ControlKind::kOptionButton &&
          other->Container() == Container()) {
        auto* option = static_cast<OptionButton*>(other);
        if (option->value_) {
          option->value_ = false;
          option->Changed(Property::kValue);
        }
      }
    }
  }
  const bool changed = value_ != selected;
  value_ = selected;
  if (changed) Changed(Property::kValue);
  if (selected) Click();
}

void OptionButton::UserClick() {
  if (AcceptsInput()) SetValue(true);
}

CheckBox::CheckBox(Form& owner, std::string name, Control* container, const Bounds& bounds,
                   int tabIndex, std::string caption)
    : Control(owner, ControlKind::kCheckBox, std::move(name), container, bounds, tabIndex) {
  SetCaption(std::move(caption));
}

void CheckBox::SetValue(int value) {
  if (value_ == value) return;
  value_ = value;
  Changed(Property::kValue);
}

void CheckBox::UserClick() {
  if (AcceptsInput()) SetValue(value_ == 1 ? 0 : 1);
}

TextBox::TextBox(Form& owner, std::string name, Control* container, const Bounds& bounds,
                 int tabIndex, std::string text)
    : Control(owner, ControlKind::kTextBox, std::move(name), container, bounds, tabIndex) {
  SetCaption(std::move(text));
}

Shape::Shape(Form& owner, std::string name, const Bounds& bounds)
    : Control(owner, ControlKind::kShape, std::move(name), nullptr, bounds, kNoTabStop) {}

void Shape::SetFillColour(Colour colour) {
  fill_ = colour;
  Changed(Property::kColours);
}

void Shape::SetBorderColour(Colour colour) {
  border_ = colour;
  Changed(Property::kColours);
}

}  // namespace platform
