#include "platform/win32/form_window.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "platform/forms/dir_list.h"
#include "platform/forms/drive_list.h"
#include "platform/services/twips.h"
#include "platform/win32/container_window.h"
#include "platform/win32/control_window.h"
#include "platform/win32/failure_report.h"
#include "platform/win32/screen.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_toolkit.h"
#include "platform/win32/window_class.h"

namespace platform::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"PelmoraForm";
// Control ids stay clear of IDOK and IDCANCEL, which Enter and Escape send to a form.
constexpr int kFirstId = 100;

ATOM formClassAtom = 0;

struct WindowStyle {
  DWORD style;
  DWORD exStyle;
};

// None of the borders is resizable, and none has minimize or maximize buttons.
WindowStyle StyleOf(const FormDesign& design, bool owned) {
  WindowStyle result{WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
  switch (design.border) {
    case BorderStyle::kNone:
      result.style |= WS_POPUP;
      break;
    case BorderStyle::kFixedSingle:
      result.style |= WS_CAPTION | WS_SYSMENU;
      break;
    case BorderStyle::kFixedDialog:
      result.style |= WS_CAPTION | WS_SYSMENU;
      result.exStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (design.role == WindowRole::kBackdrop) {
    // No taskbar button, never activated.
    result.exStyle |= WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;
  } else if (owned) {
    // Owned by the backdrop, which keeps it behind; the taskbar button stays.
    result.exStyle |= WS_EX_APPWINDOW;
  }
  return result;
}

COLORREF Rgb(const Colour& colour) { return RGB(colour.red, colour.green, colour.blue); }

bool HoldsFocus(HWND window) {
  HWND focus = GetFocus();
  return focus != nullptr && (focus == window || IsChild(window, focus));
}

bool CanTakeFocus(HWND window) { return IsWindowVisible(window) && IsWindowEnabled(window); }

// Controls are created in tab order, which is also the order that the dialog keys follow;
// those outside the tab order come last, in the order the form made them.
std::vector<Control*> InTabOrder(const std::vector<Control*>& controls) {
  const auto key = [](const Control* control) {
    return control->TabIndex() == kNoTabStop ? INT_MAX : control->TabIndex();
  };
  std::vector<Control*> ordered;
  ordered.reserve(controls.size());
  // Each control goes after every one whose key is not greater: equal keys keep their order.
  for (Control* control : controls) {
    const auto place =
        std::upper_bound(ordered.begin(), ordered.end(), control,
                         [&key](const Control* a, const Control* b) { return key(a) < key(b); });
    ordered.insert(place, control);
  }
  return ordered;
}

// The entry of a control among a form's children, or null.
template <typename Children>
auto* FindIn(Children& children, const Control& control) {
  const auto found = std::find_if(children.begin(), children.end(), [&control](const auto& child) {
    return child.control == &control;
  });
  return found != children.end() ? &*found : nullptr;
}

}  // namespace

FormWindow::FormWindow(Win32Toolkit& toolkit, Form& form) : toolkit_(toolkit), form_(form) {
  CreateFormWindow();
  const int dpi = WindowDpi(window_);
  fonts_ = std::make_unique<FontSet>(dpi);
  icon_ = std::make_unique<ProgramIcon>(dpi);
  for (Control* control : InTabOrder(form_.Controls())) AddChild(*control);
  for (const Child& child : children_) MarkGroupTabStop(*child.control);
  ApplyIcons();
  PlaceForm(false);
  toolkit_.FormOpened(*this);
}

FormWindow::~FormWindow() {
  toolkit_.FormClosed(*this);
  // From here on no message of these windows reaches the model.
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

bool FormWindow::IsFormWindow(HWND window) {
  return formClassAtom != 0 && GetClassLongPtrW(window, GCW_ATOM) == formClassAtom;
}

HWND FormWindow::WindowOf(const Control& control) const {
  const Child* child = FindIn(children_, control);
  return child != nullptr ? child->window : nullptr;
}

// ---- Model changes ----

void FormWindow::FormChanged(FormProperty property) {
  switch (property) {
    case FormProperty::kCaption:
      SetWindowTextW(window_, Wide(form_.Caption()).c_str());
      break;
    case FormProperty::kVisible:
      if (!form_.Visible()) {
        ShowWindow(window_, SW_HIDE);
      } else {
        ShowWindow(window_, IsBackdrop() ? SW_SHOWNOACTIVATE : SW_SHOW);
      }
      break;
    case FormProperty::kSize:
      // A form that has been seen keeps its place; one not yet shown is placed anew.
      PlaceForm(IsWindowVisible(window_) != FALSE);
      break;
    case FormProperty::kIcon:
      ApplyIcons();
      break;
  }
}

void FormWindow::ControlChanged(Control& control, Property property) {
  Child* child = Find(control);
  if (child == nullptr) return;
  if (property == Property::kColours && control.Kind() == ControlKind::kLabel) {
    Relook(*child);
    return;
  }
  HWND window = child->window;
  if (window == nullptr) {
    InvalidatePainted(*child);
    return;
  }
  const bool hadFocus = HoldsFocus(window);
  switch (property) {
    case Property::kCaption:
      SetWindowTextW(window, Wide(control.Caption()).c_str());
      break;
    case Property::kEnabled:
      EnableWindow(window, control.Enabled());
      break;
    case Property::kVisible:
      ShowWindow(window, control.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Property::kValue:
      ShowValue(window, control);
      MarkGroupTabStop(control);
      break;
    case Property::kBounds:
      PlaceChild(*child);
      break;
    case Property::kPicture:
      SendMessageW(window, STM_SETICON, reinterpret_cast<WPARAM>(icon_->Large()), 0);
      PlaceChild(*child);
      break;
    case Property::kColours:
      InvalidateRect(window, nullptr, TRUE);
      break;
    case Property::kList:
      FillList(window, control);
      ShowValue(window, control);
      break;
  }
  KeepFocusUsable(window, hadFocus);
}

void FormWindow::ControlAdded(Control& control) { AddChild(control); }

void FormWindow::Repaint(Control& control) {
  Child* child = Find(control);
  if (child == nullptr) return;
  if (child->window != nullptr) {
    RedrawWindow(child->window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  } else {
    InvalidatePainted(*child);
    RedrawWindow(ParentOf(control), nullptr, nullptr, RDW_UPDATENOW);
  }
}

void FormWindow::Focus(Control* control) {
  if (IsBackdrop()) return;
  if (control == nullptr) {
    SetForegroundWindow(window_);
    if (!HoldsFocus(window_)) RestoreFocus();
    return;
  }
  if (HWND window = WindowOf(*control)) SetFocus(window);
}

// ---- Creating and laying out ----

void FormWindow::CreateFormWindow() {
  static const bool registered = [] {
    formClassAtom = RegisterWindowClass(kFormClass, Procedure);
    return formClassAtom != 0;
  }();
  HWND owner = IsBackdrop() ? nullptr : toolkit_.BackdropWindow();
  const WindowStyle look = StyleOf(form_.Design(), owner != nullptr);
  // The window procedure learns `this` from the creation data, before the first message.
  window_ = registered ? CreateWindowExW(look.exStyle, kFormClass, Wide(form_.Caption()).c_str(),
                                         look.style, 0, 0, 0, 0, owner, nullptr,
                                         GetModuleHandleW(nullptr), this)
                       : nullptr;
  if (window_ == nullptr) EndWithFailure("The window " + form_.Name() + " could not be created.");
}

void FormWindow::AddChild(Control& control) {
  if (Find(control) != nullptr) return;
  // A container comes before what it holds, whatever the tab order says.
  if (control.Container() != nullptr) AddChild(*control.Container());
  children_.push_back({&control, nullptr, {}});
  Child& child = children_.back();
  if (HasOwnWindow(control)) {
    MakeWindow(child);
  } else {
    InvalidatePainted(child);
  }
}

void FormWindow::MakeWindow(Child& child) {
  const int id = kFirstId + static_cast<int>(&child - children_.data());
  const Control& control = *child.control;
  child.window =
      CreateControlWindow(control, ParentOf(control), id, PixelRect(control), StartsGroup(control));
  if (child.window == nullptr) {
    EndWithFailure("The control " + control.Name() + " could not be created.");
  }
  ApplyFont(child);
  if (control.Kind() == ControlKind::kImage && static_cast<const Image&>(control).ShowsIcon()) {
    SendMessageW(child.window, STM_SETICON, reinterpret_cast<WPARAM>(icon_->Large()), 0);
  }
}

// Arrow keys move within a group of option buttons; every other control is a group of its own.
bool FormWindow::StartsGroup(const Control& control) const {
  if (control.Kind() != ControlKind::kOptionButton) return true;
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    const Control& earlier = *it->control;
    if (&earlier == &control || it->window == nullptr ||
        earlier.Container() != control.Container()) {
      continue;
    }
    return earlier.Kind() != ControlKind::kOptionButton;
  }
  return true;
}

// A group of option buttons is one tab stop, as in a dialog: the selected option, or the
// first one while none is selected. (Checking a radio button moves the stop by itself;
// clearing all of them would leave the group out of the tab order.)
void FormWindow::MarkGroupTabStop(const Control& option) {
  if (option.Kind() != ControlKind::kOptionButton) return;
  const auto inGroup = [&option](const Child& child) {
    return child.control->Kind() == ControlKind::kOptionButton && child.window != nullptr &&
           child.control->Container() == option.Container();
  };
  const Child* stop = nullptr;
  for (const Child& child : children_) {
    if (inGroup(child) &&
        (stop == nullptr || static_cast<const OptionButton&>(*child.control).Value())) {
      stop = &child;
    }
  }
  for (const Child& child : children_) {
    if (!inGroup(child)) continue;
    const auto style = GetWindowLongPtrW(child.window, GWL_STYLE);
    const auto marked =
        &child == stop ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP);
    if (marked != style) SetWindowLongPtrW(child.window, GWL_STYLE, marked);
  }
}

SIZE FormWindow::OuterSize(int dpi) const {
  const RECT client{0, 0, TwipsToPixels(form_.Width(), dpi), TwipsToPixels(form_.Height(), dpi)};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_EXSTYLE));
  const RECT outer = OuterRect(client, style, exStyle, dpi);
  return {outer.right - outer.left, outer.bottom - outer.top};
}

void FormWindow::PlaceForm(bool keepPosition) {
  const SIZE size = OuterSize(fonts_->Dpi());
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
  POINT at{0, 0};
  if (keepPosition) {
    flags |= SWP_NOMOVE;
  } else if (form_.Design().centred) {
    // Centred on the (primary) screen, with the title bar kept on it.
    at.x = std::max(0L, (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2);
    at.y = std::max(0L, (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2);
  }
  SetWindowPos(window_, nullptr, at.x, at.y, size.cx, size.cy, flags);
}

void FormWindow::PlaceChild(Child& child) {
  if (child.window == nullptr) {
    InvalidatePainted(child);
    return;
  }
  const RECT rect = PixelRect(*child.control);
  SetWindowPos(child.window, nullptr, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::ApplyFont(const Child& child) {
  if (child.window == nullptr) return;
  SendMessageW(child.window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_->For(*child.control)),
               TRUE);
}

void FormWindow::ApplyIcons() {
  if (form_.Design().showsIcon) {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_->Large()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_->Small()));
  }
  for (Child& child : children_) {
    const Control& control = *child.control;
    if (control.Kind() != ControlKind::kImage || !static_cast<const Image&>(control).ShowsIcon())
      continue;
    SendMessageW(child.window, STM_SETICON, reinterpret_cast<WPARAM>(icon_->Large()), 0);
    PlaceChild(child);
  }
}

// A label's font, colour or transparency changed; a transparent label loses its window,
// since its form paints it.
void FormWindow::Relook(Child& child) {
  HFONT oldFont = fonts_->Take(*child.control);
  const bool painted = !HasOwnWindow(*child.control);
  if (painted && child.window != nullptr) {
    if (lastFocus_ == child.window) lastFocus_ = nullptr;
    DestroyWindow(child.window);
    child.window = nullptr;
  } else if (!painted && child.window == nullptr) {
    MakeWindow(child);
  }
  if (child.window != nullptr) {
    ApplyFont(child);
    InvalidateRect(child.window, nullptr, TRUE);
  } else {
    InvalidatePainted(child);
  }
  if (oldFont != nullptr) DeleteObject(oldFont);
}

// The form moved to a monitor of another DPI: everything is laid out again from its twips.
void FormWindow::Rescale(int dpi, const RECT& suggested) {
  const auto oldFonts = std::exchange(fonts_, std::make_unique<FontSet>(dpi));
  const auto oldIcon = std::exchange(icon_, std::make_unique<ProgramIcon>(dpi));
  for (Child& child : children_) {
    PlaceChild(child);
    ApplyFont(child);
  }
  ApplyIcons();
  const SIZE size = OuterSize(dpi);
  SetWindowPos(window_, nullptr, suggested.left, suggested.top, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(window_, nullptr, FALSE);
}

// ---- Looking up ----

FormWindow::Child* FormWindow::Find(const Control& control) { return FindIn(children_, control); }

FormWindow::Child* FormWindow::FindById(int id) {
  const int index = id - kFirstId;
  if (index < 0 || index >= static_cast<int>(children_.size())) return nullptr;
  return &children_[static_cast<std::size_t>(index)];
}

Control* FormWindow::ControlOf(HWND window) {
  Child* child = FindById(GetDlgCtrlID(window));
  return child != nullptr && child->window == window ? child->control : nullptr;
}

HWND FormWindow::ParentOf(const Control& control) const {
  HWND container = control.Container() != nullptr ? WindowOf(*control.Container()) : nullptr;
  return container != nullptr ? container : window_;
}

RECT FormWindow::PixelRect(const Control& control) const {
  const int dpi = fonts_->Dpi();
  const Bounds& twips = control.GetBounds();
  RECT rect{TwipsToPixels(twips.left, dpi), TwipsToPixels(twips.top, dpi),
            TwipsToPixels(twips.left + twips.width, dpi),
            TwipsToPixels(twips.top + twips.height, dpi)};
  if (control.Kind() == ControlKind::kImage && static_cast<const Image&>(control).ShowsIcon()) {
    // An image takes the size of its picture.
    rect.right = rect.left + icon_->LargeSize();
    rect.bottom = rect.top + icon_->LargeSize();
  }
  return rect;
}

// ---- Painting ----

PaintedLayer FormWindow::LayerOf(HWND window) {
  const Control* container = window == window_ ? nullptr : ControlOf(window);
  PaintedLayer layer;
  GetClientRect(window, &layer.client);
  layer.etchedBorder = container != nullptr && container->Kind() == ControlKind::kFrame;
  for (const Child& child : children_) {
    const Control& control = *child.control;
    if (child.window != nullptr || control.Container() != container || !control.Visible()) continue;
    if (control.Kind() == ControlKind::kShape) {
      const auto& shape = static_cast<const Shape&>(control);
      layer.shapes.push_back(
          {PixelRect(shape), Rgb(shape.FillColour()), Rgb(shape.BorderColour())});
    } else {
      const auto& label = static_cast<const Label&>(control);
      layer.texts.push_back({PixelRect(label), Wide(label.Caption()), fonts_->For(label),
                             Rgb(label.ForeColour()), label.GetAlignment() == Alignment::kCentre});
    }
  }
  return layer;
}

void FormWindow::Paint(HWND window, HDC dc, const RECT& area) {
  PaintLayer(dc, area, LayerOf(window));
}

void FormWindow::InvalidatePainted(Child& child) {
  HWND parent = ParentOf(*child.control);
  InvalidateRect(parent, &child.painted, FALSE);
  child.painted = PixelRect(*child.control);
  InvalidateRect(parent, &child.painted, FALSE);
}

HBRUSH FormWindow::Colours(HDC dc, HWND window) {
  const Control* control = ControlOf(window);
  if (control != nullptr && control->Kind() == ControlKind::kTextBox) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return GetSysColorBrush(COLOR_WINDOW);
  }
  COLORREF text = GetSysColor(COLOR_BTNTEXT);
  if (control != nullptr && control->Kind() == ControlKind::kLabel) {
    const auto& label = static_cast<const Label&>(*control);
    if (!label.GetFont().name.empty()) text = Rgb(label.ForeColour());  // a look of its own
  }
  SetTextColor(dc, text);
  SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
  return GetSysColorBrush(COLOR_BTNFACE);
}

// ---- User actions and the focus ----

// Hands a user action to the model. Its handler may unload the form and so destroy this
// object: afterwards only the form, which outlives its window, is asked whether this is
// still its window.
void FormWindow::Notified(int id, WORD code) {
  Child* child = FindById(id);
  if (child == nullptr || child->window == nullptr) return;
  Control& control = *child->control;
  const HWND window = child->window;
  const auto index = [window](UINT message) {
    return static_cast<int>(SendMessageW(window, message, 0, 0));
  };
  Form& form = form_;
  switch (control.Kind()) {
    case ControlKind::kCommandButton:
      // A button that notifies of its focus reports the second click of a double click as
      // BN_DOUBLECLICKED; it is a click all the same.
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) {
        static_cast<CommandButton&>(control).UserClick();
      } else if (code == BN_SETFOCUS || code == BN_KILLFOCUS) {
        // Enter presses the focused button: the dialog keys press the default one.
        ShowAsDefault(window, code == BN_SETFOCUS);
      }
      return;
    case ControlKind::kOptionButton:
      if (code == BN_CLICKED) static_cast<OptionButton&>(control).UserClick();
      return;
    case ControlKind::kCheckBox:
      if (code == BN_CLICKED) static_cast<CheckBox&>(control).UserClick();
      return;
    case ControlKind::kDriveList:
      if (code != CBN_SELCHANGE) return;
      static_cast<DriveList&>(control).UserPick(index(CB_GETCURSEL));
      break;
    case ControlKind::kDirList:
      if (code != LBN_DBLCLK) return;
      static_cast<DirList&>(control).UserOpen(index(LB_GETCURSEL));
      break;
    default:
      return;
  }
  // A pick that the model refused leaves the list as the model has it.
  if (form.Peer() == this && WindowOf(control) == window) ShowValue(window, control);
}

void FormWindow::RestoreFocus() {
  HWND target = lastFocus_ != nullptr && IsChild(window_, lastFocus_) && CanTakeFocus(lastFocus_)
                    ? lastFocus_
                    : FirstTabStop();
  if (target != nullptr) SetFocus(target);
}

// A control that held the focus and can no longer take it passes it on in tab order.
void FormWindow::KeepFocusUsable(HWND changed, bool hadFocus) {
  if (!hadFocus || CanTakeFocus(changed)) return;
  HWND next = GetNextDlgTabItem(window_, changed, FALSE);
  SetFocus(next != nullptr && next != changed ? next : window_);
}

HWND FormWindow::FirstTabStop() const { return GetNextDlgTabItem(window_, nullptr, FALSE); }

// ---- Messages ----

LRESULT CALLBACK FormWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created =
        static_cast<FormWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<FormWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  const bool handled = self->Handle(message, wParam, lParam, result);
  // `self` may be gone now: a click or a close can unload the form.
  return handled ? result : DefWindowProcW(window, message, wParam, lParam);
}

bool FormWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (lParam == 0) return false;  // a menu or an accelerator: the forms have none
      Notified(LOWORD(wParam), HIWORD(wParam));
      return true;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight =
          static_cast<UINT>(ListEntryHeight(window_, fonts_->Dialog()));
      result = TRUE;
      return true;
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      const Control* control = ControlOf(item.hwndItem);
      if (control == nullptr || control->Kind() != ControlKind::kDirList) return false;
      DrawListEntry(item, *control);
      result = TRUE;
      return true;
    }
    case WM_CLOSE:
      form_.UserClose();  // never the default, which would destroy the window
      return true;
    case DM_GETDEFID: {
      // The default button is the push button with the focus, if any. Tab clears every
      // button's default mark before it asks, and then marks only a button that is the
      // form's own child, not one inside a page: so the answer marks the button itself.
      HWND focus = GetFocus();
      const int id = GetDlgCtrlID(focus);
      const Child* child = FindById(id);
      if (child == nullptr || child->window != focus ||
          child->control->Kind() != ControlKind::kCommandButton) {
        return false;
      }
      ShowAsDefault(focus, true);
      result = MAKELRESULT(id, DC_HASDEFID);
      return true;
    }
    case WM_QUERYENDSESSION:
      // The backdrop owns the other forms' windows: it goes only with the program.
      if (IsBackdrop()) return false;
      result = form_.SessionEnding();
      return true;
    case WM_MOUSEACTIVATE:
      if (!IsBackdrop()) return false;
      result = MA_NOACTIVATE;
      return true;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HoldsFocus(window_) && GetFocus() != window_) lastFocus_ = GetFocus();
      } else {
        RestoreFocus();
      }
      return true;
    case WM_SETFOCUS:
      RestoreFocus();
      return true;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      result = reinterpret_cast<LRESULT>(
          Colours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the paint covers everything
      return true;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      Paint(window_, dc, paint.rcPaint);
      EndPaint(window_, &paint);
      return true;
    }
    case WM_PRINTCLIENT: {
      RECT client;
      GetClientRect(window_, &client);
      Paint(window_, reinterpret_cast<HDC>(wParam), client);
      return true;
    }
    case kPaintContainer: {
      const auto* request = reinterpret_cast<const PaintRequest*>(lParam);
      Paint(request->window, request->dc, request->area);
      return true;
    }
    case WM_DPICHANGED:
      Rescale(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return true;
    default:
      return false;
  }
}

}  // namespace platform::win32
