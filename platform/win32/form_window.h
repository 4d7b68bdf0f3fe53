#pragma once
// A loaded form as a real window: the form's window, a child window for each control
// that has one, and the painting of those that have none. Model changes come in through
// the FormPeer operations; user actions go back into the model through its UserClick
// and UserClose entry points.
#include <windows.h>

#include <memory>
#include <vector>

#include "platform/forms/form.h"
#include "platform/win32/font_set.h"
#include "platform/win32/painted_layer.h"
#include "platform/win32/program_icon.h"

namespace platform::win32 {

class Win32Toolkit;

class FormWindow final : public FormPeer {
 public:
  FormWindow(Win32Toolkit& toolkit, Form& form);
  // Destroys the windows without calling back into the model.
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  void FormChanged(FormProperty property) override;
  void ControlChanged(Control& control, Property property) override;
  void ControlAdded(Control& control) override;
  void Repaint(Control& control) override;
  void Focus(Control* control) override;

  HWND Window() const { return window_; }
  bool IsBackdrop() const { return form_.Design().role == WindowRole::kBackdrop; }
  // The control's window; null for one that is painted by its form or container.
  HWND WindowOf(const Control& control) const;

  // Is the window a form's own window (the one that handles its dialog keys)?
  static bool IsFormWindow(HWND window);

 private:
  struct Child {
    Control* control;
    HWND window;   // null for a painted control
    RECT painted;  // where a painted control was last drawn
  };

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  bool Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Creating and laying out.
  void CreateFormWindow();
  void AddChild(Control& control);
  void MakeWindow(Child& child);
  bool StartsGroup(const Control& control) const;
  void MarkGroupTabStop(const Control& option);
  SIZE OuterSize(int dpi) const;
  void PlaceForm(bool keepPosition);
  void PlaceChild(Child& child);
  void ApplyFont(const Child& child);
  void ApplyIcons();
  void Relook(Child& child);
  void Rescale(int dpi, const RECT& suggested);

  // Looking up.
  Child* Find(const Control& control);
  Child* FindById(int id);
  Control* ControlOf(HWND window);
  HWND ParentOf(const Control& control) const;
  RECT PixelRect(const Control& control) const;

  // Painting.
  PaintedLayer LayerOf(HWND window);
  void Paint(HWND window, HDC dc, const RECT& area);
  void InvalidatePainted(Child& child);
  HBRUSH Colours(HDC dc, HWND control);

  // User actions and the focus.
  void Notified(int id, WORD code);
  void RestoreFocus();
  void KeepFocusUsable(HWND changed, bool hadFocus);
  HWND FirstTabStop() const;

  Win32Toolkit& toolkit_;
  Form& form_;
  HWND window_ = nullptr;
  std::unique_ptr<FontSet> fonts_;
  std::unique_ptr<ProgramIcon> icon_;
  std::vector<Child> children_;  // a child's id is kFirstId + its index
  HWND lastFocus_ = nullptr;     // given back when the form is activated again
};

}  // namespace platform::win32
