#pragma once
// A window of the program. A form class declares its controls as members and names
// its handlers after control and event, and binds them to its controls' events.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/controls.h"
#include "platform/services/platform.h"

namespace platform {

// Why a form is being unloaded.
enum class UnloadMode : std::int16_t {
  kFormControlMenu = 0,  // the user's close box
  kFormCode = 1,         // the program
  kAppWindows = 2,       // the system is shutting down (the session ends)
};

enum class BorderStyle : std::uint8_t {
  kNone,         // no border and no title bar
  kFixedSingle,  // not resizable, close box only
  kFixedDialog,  // dialog frame, close box only
};

enum class WindowRole : std::uint8_t {
  kNormal,
  kBackdrop,  // stays behind the program's other windows and never takes the focus
};

enum class FormProperty : std::uint8_t { kCaption, kVisible, kSize, kIcon };

// How a form looks when it is created.
struct FormDesign {
  std::string caption;
  BorderStyle border = BorderStyle::kFixedSingle;
  int width = 0;  // client area, twips
  int height = 0;
  bool centred = true;  // otherwise at the screen's top-left corner
  bool showsIcon = false;
  WindowRole role = WindowRole::kNormal;
};

// The backend's mirror of a loaded form and its controls.
class FormPeer {
 public:
  virtual ~FormPeer() = default;
  virtual void FormChanged(FormProperty property) = 0;
  virtual void ControlChanged(Control& control, Property property) = 0;
  // A control created after the form was loaded (a new element of an indexed set).
  virtual void ControlAdded(Control& control) = 0;
  virtual void Repaint(Control& control) = 0;
  // Gives the focus to the control, or to the form itself when null.
  virtual void Focus(Control* control) = 0;
};

class Form {
 public:
  Form(Platform& platform, std::string name, FormDesign design);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  Platform& GetPlatform() const { return platform_; }
  Toolkit& GetToolkit() const { return platform_.toolkit; }
  const std::string& Name() const { return name_; }
  const FormDesign& Design() const { return design_; }

  // Loads the form if needed (Form_Load runs first) and shows it without waiting.
  void Show();
  void Hide() { SetVisible(false); }
  // Raises Form_QueryUnload and Form_Unload; either may refuse. True when the form is gone.
  bool Unload(UnloadMode mode = UnloadMode::kFormCode);
  void SetFocus();
  // The close box.
  void UserClose() { Unload(UnloadMode::kFormControlMenu); }
  // The system asks whether the session may end. True when the form is gone.
  bool SessionEnding() { return Unload(UnloadMode::kAppWindows); }

  bool Loaded() const { return loaded_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const std::string& Caption() const { return design_.caption; }
  void SetCaption(std::string caption);
  int Width() const { return design_.width; }
  int Height() const { return design_.height; }
  void SetWidth(int width);
  void SetHeight(int height);

  // Every control, in the order of creation.
  const std::vector<Control*>& Controls() const { return controls_; }

  FormPeer* Peer() const { return peer_.get(); }

 protected:
  virtual void Form_Load() {}
  virtual void Form_QueryUnload(std::int16_t& /*cancel*/, UnloadMode /*mode*/) {}
  virtual void Form_Unload(std::int16_t& /*cancel*/) {}

  // Tells the backend about a control created after loading.
  void ControlLoaded(Control& control);

 private:
  friend class Control;
  void Register(Control& control) { controls_.push_back(&control); }
  void Unregister(Control& control);
  void Load();
  void FormChanged(FormProperty property);

  Platform& platform_;
  const std::string name_;
  FormDesign design_;
  std::vector<Control*> controls_;
  std::unique_ptr<FormPeer> peer_;
  bool loaded_ = false;
  bool visible_ = false;
};

}  // namespace platform
