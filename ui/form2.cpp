#include "ui/form2.h"

#include "platform/services/twips.h"
#include "platform/text/text.h"
#include "ui/backdrop_strips.h"

namespace ui {

namespace {

constexpr platform::Colour kWhite{255, 255, 255};
constexpr int kTurkishCharset = 162;

platform::Font TitleFont(int points) {
  return {"MS Sans Serif", points, true, true, kTurkishCharset};
}

}  // namespace

Form2::Form2(platform::Platform& platform)
    : Form(platform, "Form2",
           {.caption = "Form2",
            .border = platform::BorderStyle::kNone,
            .centred = false,
            .role = platform::WindowRole::kBackdrop}),
      Label1(*this, "Label1", nullptr, {300, 720, 8055, 555}, 0),
      Label2(*this, "Label2", nullptr, {300, 1440, 3555, 555}, 1) {
  Label1.SetCaption("Tarvo's Pelmora v.1.5a");
  Label1.SetLook(TitleFont(24), kWhite, /*transparent=*/true);
  Label2.SetCaption("Tarvo Kenlisk");
  Label2.SetLook(TitleFont(18), kWhite, /*transparent=*/true);
  strips_.push_back(std::make_unique<platform::Shape>(*this, "Shape1(0)",
                                                      platform::Bounds{0, 0, 11715, kStripHeight}));
}

platform::Shape& Form2::LoadStrip() {
  const platform::Shape& first = Shape1(0);
  const std::string name =
      "Shape1(" + platform::DecimalText(static_cast<std::int32_t>(strips_.size())) + ")";
  auto& strip =
      *strips_.emplace_back(std::make_unique<platform::Shape>(*this, name, first.GetBounds()));
  strip.SetVisible(false);
  ControlLoaded(strip);
  return strip;
}

void Form2::Form_Load() {
  platform::Toolkit& toolkit = GetToolkit();
  platform::PixelRect workArea;
  if (!toolkit.GetWorkArea(workArea)) workArea = {};

  // As wide as the work area reaches and a fifth taller than its bottom, so that the
  // gradient runs on below the screen's lower edge: six fifths of it. Each is rounded once,
  // to the nearest twip, so that the window shows exactly those pixels again.
  const int dpi = toolkit.PixelsPerInch();
  SetWidth(platform::PixelsToTwips(workArea.right, dpi));
  SetHeight(platform::ScaleRounded(workArea.bottom * 6, platform::kTwipsPerInch, dpi * 5));

  const std::vector<BackdropStrip> strips = BackdropStrips(Height());
  Shape1(0).SetWidth(Width());
  for (std::size_t index = 0; index < strips.size(); ++index) {
    platform::Shape& strip = index == 0 ? Shape1(0) : LoadStrip();
    const platform::Colour colour{0, 0, strips[index].blue};
    strip.SetVisible(true);
    strip.SetTop(strips[index].top);
    strip.SetBorderColour(colour);
    strip.SetFillColour(colour);
    if (index > 0) toolkit.DoEvents();
  }
}

}  // namespace ui
