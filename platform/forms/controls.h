#pragma once
// The controls of a form: plain objects that hold their properties and event handlers.
// A backend mirrors every change through the form's peer; the headless backend reads
// the model as it is. Positions and sizes are in twips (1/1440 inch).
#include <cstdint>
#include <string>

#include "platform/forms/dde_link.h"
#include "platform/forms/event_handler.h"

namespace platform {

class Form;

enum class ControlKind : std::uint8_t {
  kFrame,
  kPictureBox,
  kImage,
  kLabel,
  kCommandButton,
  kOptionButton,
  kCheckBox,
  kTextBox,
  kDriveList,
  kDirList,
  kShape,
};

// What changed, so that a backend's mirror updates only that.
enum class Property : std::uint8_t {
  kCaption,
  kEnabled,
  kVisible,
  kValue,
  kBounds,
  kColours,
  kPicture,
  kList
};

struct Bounds {
  int left = 0, top = 0, width = 0, height = 0;
};

struct Colour {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend bool operator==(const Colour&, const Colour&) = default;
};

// An empty name stands for the toolkit's own font.
struct Font {
  std::string name;
  int points = 0;
  bool bold = false;
  bool italic = false;
  int charset = 0;
};

enum class Alignment : std::uint8_t { kLeft, kCentre };

constexpr int kNoTabStop = -1;

class Control {
 public:
  // `container` is the frame or picture box that holds the control, or null for the form.
  Control(Form& owner, ControlKind kind, std::string name, Control* container, const Bounds& bounds,
          int tabIndex);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  Form& Owner() const { return owner_; }
  Control* Container() const { return container_; }
  int TabIndex() const { return tabIndex_; }

  const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(const Bounds& bounds);
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void SetTop(int top);
  void SetWidth(int width);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Repaints the control at once, without letting other events through.
  void Refresh();
  void SetFocus();

  // Can the user see the control: it, its containers and its form are visible.
  bool IsShowing() const;
  // Can the user act on it: showing, and it and its containers are enabled.
  bool AcceptsInput() const;

 protected:
  void Changed(Property property);

 private:
  Form& owner_;
  const ControlKind kind_;
  const std::string name_;
  Control* const container_;
  const int tabIndex_;
  Bounds bounds_;
  std::string caption_;
  bool visible_ = true;
  bool enabled_ = true;
};

// A frame without caption, or a page of a wizard: a container shown or hidden as a whole.
class Frame : public Control {
 public:
  Frame(Form& owner, std::string name, Control* container, const Bounds& bounds, int tabIndex)
      : Control(owner, ControlKind::kFrame, std::move(name), container, bounds, tabIndex) {}
};

// A container that can also hold a DDE client link.
class PictureBox : public Control {
 public:
  PictureBox(Form& owner, std::string name, Control* container, const Bounds& bounds, int tabIndex);
  DdeLink& Link() { return link_; }

 private:
  DdeLink link_;
};

// An image that shows the program's icon once its picture is set.
class Image : public Control {
 public:
  Image(Form& owner, std::string name, Control* container, const Bounds& bounds)
      : Control(owner, ControlKind::kImage, std::move(name), container, bounds, kNoTabStop) {}
  bool ShowsIcon() const { return showsIcon_; }
  void SetPictureToIcon();

 private:
  bool showsIcon_ = false;
};

class Label : public Control {
 public:
  Label(Form& owner, std::string name, Control* container, const Bounds& bounds, int tabIndex,
        Alignment alignment = Alignment::kLeft)
      : Control(owner, ControlKind::kLabel, std::move(name), container, bounds, tabIndex),
        alignment_(alignment) {}
  Alignment GetAlignment() const { return alignment_; }
  // A transparent label is drawn over whatever its form paints behind it.
  bool Transparent() const { return transparent_; }
  const Font& GetFont() const { return font_; }
  const Colour& ForeColour() const { return foreColour_; }
  void SetLook(const Font& font, Colour foreColour, bool transparent);

 private:
  Alignment alignment_;
  Font font_;
  Colour foreColour_;
  bool transparent_ = false;
};

class CommandButton : public Control {
 public:
  CommandButton(Form& owner, std::string name, Control* container, const Bounds& bounds,
                int tabIndex, std::string caption);
  EventHandler<> Click;
  // A click by the user; ignored unless the button accepts input.
  void UserClick();
};

// One of a group of option buttons in the same container: choosing one clears the others.
class OptionButton : public Control {
 public:
  OptionButton(Form& owner, std::string name, Control* container, const Bounds& bounds,
               int tabIndex, std::string caption);
  bool Value() const { return value_; }
  // Selecting clears the other options of the container and raises Click.
  void SetValue(bool selected);
  EventHandler<> Click;
  void UserClick();

 private:
  bool value_ = false;
};

class CheckBox : public Control {
 public:
  CheckBox(Form& owner, std::string name, Control* container, const Bounds& bounds, int tabIndex,
           std::string caption);
  // 1 when ticked, 0 when not.
  int Value() const { return value_; }
  void SetValue(int value);
  void UserClick();

 private:
  int value_ = 0;
};

// A read-only, multi-line text box with a vertical scroll bar.
class TextBox : public Control {
 public:
  TextBox(Form& owner, std::string name, Control* container, const Bounds& bounds, int tabIndex,
          std::string text);
  const std::string& Text() const { return Caption(); }
};

// A filled rectangle whose border colour equals its fill colour; one element of an
// indexed set that grows at run time. Its form paints it.
class Shape : public Control {
 public:
  Shape(Form& owner, std::string name, const Bounds& bounds);
  const Colour& FillColour() const { return fill_; }
  const Colour& BorderColour() const { return border_; }
  void SetFillColour(Colour colour);
  void SetBorderColour(Colour colour);

 private:
  Colour fill_;
  Colour border_;
};

}  // namespace platform
