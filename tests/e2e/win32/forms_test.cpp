// Forms as real windows: what the model declares is what the system shows, changes of the
// model reach the windows, and what the user does reaches the model.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "backend_services.h"
#include "check.h"
#include "platform/forms/form.h"
#include "platform/services/twips.h"
#include "platform/win32/form_window.h"
#include "platform/win32/screen.h"
#include "platform/win32/wide.h"

namespace backend_test {

namespace {

using platform::Bounds;
using platform::win32::FormWindow;

constexpr platform::Colour kStripBlue{0, 0, 200};
constexpr platform::Colour kWhite{255, 255, 255};

// Controls declared out of tab order on purpose: the windows must follow the tab order.
class ProbeForm : public platform::Form {
 public:
  explicit ProbeForm(platform::Platform& platform)
      : Form(platform, "Probe", {.caption = "Probe \xC5\x9E", .width = 5000, .height = 3300}),
        Group(*this, "Group", nullptr, {120, 120, 3000, 1200}, 0),
        Yes(*this, "Yes", &Group, {120, 240, 2000, 255}, 1, "Yes"),
        No(*this, "No", &Group, {120, 600, 2000, 255}, 2, "No"),
        Tick(*this, "Tick", nullptr, {3300, 120, 1500, 255}, 4, "Tick"),
        Go(*this, "Go", nullptr, {3300, 600, 1200, 375}, 3, "Go"),
        Note(*this, "Note", nullptr, {3300, 1200, 1500, 255}, 5),
        Text(*this, "Text", nullptr, {120, 1400, 3000, 500}, 7, "line 1\r\nline 2\r\n"),
        Strip(*this, "Strip", {0, 2100, 5000, 900}),
        Title(*this, "Title", nullptr, {120, 2250, 4500, 600}, 6) {
    Strip.SetFillColour(kStripBlue);
    Strip.SetBorderColour(kStripBlue);
    Title.SetCaption("WWWWWWWW");
    Title.SetLook({"Arial", 20, true, false, 0}, kWhite, true);
    Yes.Click = platform::EventHandler<>::Bind<&ProbeForm::CountYesClick>(this);
  }
  void CountYesClick() { ++yesClicks; }

  platform::Shape& AddShape(Bounds bounds, platform::Colour colour) {
    auto& shape = *added_.emplace_back(std::make_unique<platform::Shape>(*this, "Added", bounds));
    shape.SetFillColour(colour);
    shape.SetBorderColour(colour);
    ControlLoaded(shape);
    return shape;
  }

  platform::Frame Group;
  platform::OptionButton Yes;
  platform::OptionButton No;
  platform::CheckBox Tick;
  platform::CommandButton Go;
  platform::Label Note;
  platform::TextBox Text;
  platform::Shape Strip;
  platform::Label Title;

  int yesClicks = 0;
  bool refuseClose = false;
  std::vector<platform::UnloadMode> unloads;

 protected:
  void Form_QueryUnload(std::int16_t& cancel, platform::UnloadMode mode) override {
    unloads.push_back(mode);
    if (refuseClose) cancel = -1;
  }

 private:
  std::vector<std::unique_ptr<platform::Shape>> added_;
};

class Backdrop : public platform::Form {
 public:
  explicit Backdrop(platform::Platform& platform)
      : Form(platform, "Backdrop",
             {.caption = "Backdrop",
              .border = platform::BorderStyle::kNone,
              .width = 3000,
              .height = 2000,
              .centred = false,
              .role = platform::WindowRole::kBackdrop}) {}
};

FormWindow& PeerOf(const platform::Form& form) { return *static_cast<FormWindow*>(form.Peer()); }

HWND WindowOf(const platform::Control& control) {
  return PeerOf(control.Owner()).WindowOf(control);
}

int Pixels(int twips, int dpi) { return platform::TwipsToPixels(twips, dpi); }

DWORD StyleOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)); }

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// The form's client area as it paints itself, without its child windows.
class ClientPicture {
 public:
  explicit ClientPicture(HWND window) {
    GetClientRect(window, &client_);
    HDC screen = GetDC(nullptr);
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, client_.right, client_.bottom);
    ReleaseDC(nullptr, screen);
    SelectObject(dc_, bitmap_);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_), PRF_CLIENT);
  }
  ~ClientPicture() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
  int CountIn(const RECT& area, COLORREF colour) const {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) count += At(x, y) == colour;
    }
    return count;
  }

 private:
  RECT client_{};
  HDC dc_;
  HBITMAP bitmap_;
};

std::vector<HWND> TabOrder(HWND form) {
  std::vector<HWND> order;
  HWND item = GetNextDlgTabItem(form, nullptr, FALSE);
  for (int i = 0; i < 5 && item != nullptr; ++i, item = GetNextDlgTabItem(form, item, FALSE)) {
    order.push_back(item);
  }
  return order;
}

void LayoutTests(ProbeForm& form) {
  Section("forms: layout at the DPI");
  HWND window = PeerOf(form).Window();
  const int dpi = platform::win32::WindowDpi(window);
  RECT client;
  GetClientRect(window, &client);
  CHECK(client.right == Pixels(5000, dpi) && client.bottom == Pixels(3300, dpi));
  wchar_t caption[32] = {};
  GetWindowTextW(window, caption, 32);
  CHECK(std::wstring(caption) == L"Probe \u015E");
  const DWORD style = StyleOf(window);
  CHECK((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU) != 0);
  CHECK((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0);

  // A control sits in its container's client area, at its twips in pixels.
  HWND yes = WindowOf(form.Yes);
  CHECK(GetParent(yes) == WindowOf(form.Group));
  RECT rect;
  GetWindowRect(yes, &rect);
  MapWindowPoints(nullptr, WindowOf(form.Group), reinterpret_cast<POINT*>(&rect), 2);
  CHECK(rect.left == Pixels(120, dpi) && rect.top == Pixels(240, dpi));
  CHECK(rect.right == Pixels(2120, dpi) && rect.bottom == Pixels(495, dpi));

  // The model decides the checks: the buttons are not automatic.
  CHECK((StyleOf(yes) & BS_TYPEMASK) == BS_RADIOBUTTON);
  CHECK((StyleOf(WindowOf(form.Tick)) & BS_TYPEMASK) == BS_CHECKBOX);
  CHECK((StyleOf(WindowOf(form.Note)) & SS_NOPREFIX) != 0);
  const DWORD textStyle = StyleOf(WindowOf(form.Text));
  CHECK((textStyle & (ES_READONLY | ES_MULTILINE | WS_VSCROLL)) ==
        (ES_READONLY | ES_MULTILINE | WS_VSCROLL));
  // Shapes and transparent labels are painted by the form.
  CHECK(WindowOf(form.Strip) == nullptr && WindowOf(form.Title) == nullptr);
  CHECK(WindowOf(form.Note) != nullptr);

  // Tab goes in TabIndex order, whatever the order of declaration; a group of options is
  // one stop, its first option while none is selected.
  CHECK(TabOrder(window) ==
        std::vector<HWND>({yes, WindowOf(form.Go), WindowOf(form.Tick), WindowOf(form.Text), yes}));
}

void MirrorTests(ProbeForm& form) {
  Section("forms: the model's changes reach the windows");
  HWND note = WindowOf(form.Note);
  form.Note.SetCaption("\xC5\x9E\xC3\xBCkr\xC3\xBC");
  wchar_t text[16] = {};
  GetWindowTextW(note, text, 16);
  CHECK(std::wstring(text) == L"\u015E\u00FCkr\u00FC");
  form.Go.SetEnabled(false);
  CHECK(!IsWindowEnabled(WindowOf(form.Go)));
  form.Go.SetEnabled(true);
  form.Tick.SetVisible(false);
  CHECK(!IsWindowVisible(WindowOf(form.Tick)));
  form.Tick.SetVisible(true);
  form.No.SetValue(true);
  CHECK(Checked(WindowOf(form.No)) && !Checked(WindowOf(form.Yes)));
  CHECK(TabOrder(PeerOf(form).Window()).front() == WindowOf(form.No));
  form.No.SetValue(false);
  CHECK(TabOrder(PeerOf(form).Window()).front() == WindowOf(form.Yes));
  const int dpi = platform::win32::WindowDpi(PeerOf(form).Window());
  form.Go.SetBounds({3300, 700, 1200, 375});
  RECT rect;
  GetWindowRect(WindowOf(form.Go), &rect);
  MapWindowPoints(nullptr, PeerOf(form).Window(), reinterpret_cast<POINT*>(&rect), 2);
  CHECK(rect.top == Pixels(700, dpi));

  // A label that turns transparent gives up its window.
  form.Note.SetLook({"Arial", 10, false, false, 0}, kWhite, true);
  CHECK(WindowOf(form.Note) == nullptr && !IsWindow(note));
}

void UserTests(ProbeForm& form) {
  Section("forms: what the user does reaches the model");
  SendMessageW(WindowOf(form.Yes), BM_CLICK, 0, 0);
  CHECK(form.Yes.Value() && !form.No.Value() && form.yesClicks == 1);
  CHECK(Checked(WindowOf(form.Yes)) && !Checked(WindowOf(form.No)));
  SendMessageW(WindowOf(form.Tick), BM_CLICK, 0, 0);
  CHECK(form.Tick.Value() == 1 && Checked(WindowOf(form.Tick)));
  SendMessageW(WindowOf(form.Tick), BM_CLICK, 0, 0);
  CHECK(form.Tick.Value() == 0 && !Checked(WindowOf(form.Tick)));

  // A control that loses the focus by being disabled hands it on.
  form.Go.SetFocus();
  CHECK(GetFocus() == WindowOf(form.Go));
  form.Go.SetEnabled(false);
  CHECK(GetFocus() != WindowOf(form.Go) && IsChild(PeerOf(form).Window(), GetFocus()));
  form.Go.SetEnabled(true);
}

// Enter presses the focused push button, as in a dialog box: a push button is the default
// one while it holds the focus. The keys go through the program's own event pump.
void KeyboardTests(Services& services, ProbeForm& form) {
  Section("forms: Enter presses the focused button");
  HWND go = WindowOf(form.Go);
  HWND tick = WindowOf(form.Tick);
  const auto isDefault = [](HWND button) {
    return (StyleOf(button) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  };
  const auto pressEnter = [&services](HWND target) {
    PostMessageW(target, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(target, WM_KEYUP, VK_RETURN, 0xC0000001);
    services.toolkit.DoEvents();
  };
  int goClicks = 0;
  auto countClick = [&goClicks] { ++goClicks; };
  form.Go.Click = platform::EventHandler<>::Of(countClick);
  form.Go.SetFocus();
  CHECK(GetFocus() == go && isDefault(go));
  pressEnter(go);
  CHECK(goClicks == 1);
  // With the focus elsewhere the button is an ordinary one again, and Enter presses nothing.
  form.Tick.SetFocus();
  CHECK(GetFocus() == tick && !isDefault(go));
  pressEnter(tick);
  CHECK(goClicks == 1 && form.Tick.Value() == 0);
  form.Go.Click = {};
}

void PaintTests(ProbeForm& form) {
  Section("forms: shapes and transparent labels");
  HWND window = PeerOf(form).Window();
  const int dpi = platform::win32::WindowDpi(window);
  const COLORREF blue = RGB(0, 0, 200);
  {
    const ClientPicture picture(window);
    CHECK(picture.At(Pixels(60, dpi), Pixels(2150, dpi)) == blue);  // the strip
    CHECK(picture.At(Pixels(4000, dpi), Pixels(60, dpi)) == GetSysColor(COLOR_BTNFACE));
    const RECT title{Pixels(120, dpi), Pixels(2250, dpi), Pixels(4620, dpi), Pixels(2850, dpi)};
    CHECK(picture.CountIn(title, RGB(255, 255, 255)) > 50);  // white letters over the blue
    CHECK(picture.CountIn(title, blue) > 50);                // the strip between them
  }
  // A shape made after loading is painted over the earlier ones.
  platform::Shape& added = form.AddShape({4650, 2150, 300, 300}, {200, 0, 0});
  {
    const ClientPicture picture(window);
    CHECK(picture.At(Pixels(4700, dpi), Pixels(2200, dpi)) == RGB(200, 0, 0));
  }
  added.SetVisible(false);
  const ClientPicture picture(window);
  CHECK(picture.At(Pixels(4700, dpi), Pixels(2200, dpi)) == blue);
}

void CloseTests(Services& services, ProbeForm& form) {
  Section("forms: the close box");
  HWND window = PeerOf(form).Window();
  form.refuseClose = true;
  PostMessageW(window, WM_CLOSE, 0, 0);
  services.toolkit.DoEvents();
  CHECK(form.unloads ==
        std::vector<platform::UnloadMode>({platform::UnloadMode::kFormControlMenu}));
  CHECK(IsWindow(window) && form.Loaded());
  form.refuseClose = false;
  PostMessageW(window, WM_CLOSE, 0, 0);
  services.toolkit.DoEvents();
  CHECK(!IsWindow(window) && !form.Loaded());
}

// The system asks every window whether the session may end; a form answers by unloading
// with that reason, and a form that refuses keeps the session going.
void SessionEndTests(Services& services) {
  Section("forms: the session ending");
  Backdrop backdrop(services.platform);
  backdrop.Show();
  ProbeForm form(services.platform);
  form.Show();
  HWND window = PeerOf(form).Window();
  form.refuseClose = true;
  CHECK(SendMessageW(window, WM_QUERYENDSESSION, 0, 0) == FALSE);
  CHECK(IsWindow(window) && form.Loaded());
  form.refuseClose = false;
  CHECK(SendMessageW(window, WM_QUERYENDSESSION, 0, 0) != FALSE);
  CHECK(!IsWindow(window) && !form.Loaded());
  CHECK(form.unloads == std::vector<platform::UnloadMode>(2, platform::UnloadMode::kAppWindows));
  // The backdrop, which owns the others' windows, goes only with the program.
  HWND back = PeerOf(backdrop).Window();
  CHECK(SendMessageW(back, WM_QUERYENDSESSION, 0, 0) != FALSE);
  CHECK(IsWindow(back) && backdrop.Loaded());
}

// A centred form is centred on the screen, whatever part of it task bars take from the
// work area. The test narrows the work area to the screen's left half where the system lets it.
void PlacementTests(Services& services) {
  Section("forms: placement");
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  RECT saved{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &saved, 0);
  RECT leftHalf{0, 0, screenWidth / 2, screenHeight};
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &leftHalf, 0);
  RECT workArea{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  std::printf("   work area %ld,%ld-%ld,%ld on a screen of %dx%d\n", workArea.left, workArea.top,
              workArea.right, workArea.bottom, screenWidth, screenHeight);
  std::fflush(stdout);
  {
    ProbeForm form(services.platform);
    form.Show();
    RECT rect;
    GetWindowRect(PeerOf(form).Window(), &rect);
    CHECK(std::abs(rect.left + rect.right - screenWidth) <= 1);
    CHECK(std::abs(rect.top + rect.bottom - screenHeight) <= 1);
  }
  SystemParametersInfoW(SPI_SETWORKAREA, 0, &saved, 0);
}

void BackdropTests(Services& services) {
  Section("forms: the backdrop");
  Backdrop backdrop(services.platform);
  backdrop.Show();
  ProbeForm front(services.platform);
  front.Show();
  HWND back = PeerOf(backdrop).Window();
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(back, GWL_EXSTYLE));
  CHECK((exStyle & WS_EX_NOACTIVATE) != 0 && (exStyle & WS_EX_TOOLWINDOW) != 0);
  CHECK((StyleOf(back) & WS_CAPTION) == 0);
  // Owned by the backdrop, the form stays in front of it.
  CHECK(GetWindow(PeerOf(front).Window(), GW_OWNER) == back);
  CHECK(GetActiveWindow() != back);
  RECT rect;
  GetWindowRect(back, &rect);
  CHECK(rect.left == 0 && rect.top == 0);
}

}  // namespace

void FormTests() {
  Services services;
  {
    ProbeForm form(services.platform);
    form.Show();
    services.toolkit.DoEvents();
    LayoutTests(form);
    MirrorTests(form);
    UserTests(form);
    KeyboardTests(services, form);
    PaintTests(form);
    CloseTests(services, form);
  }
  PlacementTests(services);
  BackdropTests(services);
  SessionEndTests(services);
}

}  // namespace backend_test
