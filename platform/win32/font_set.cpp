#include "platform/win32/font_set.h"

#include <algorithm>

#include "platform/win32/screen.h"
#include "platform/win32/wide.h"

namespace platform::win32 {

namespace {

// The system's classic dialog face (Microsoft Sans Serif, or Tahoma where it is mapped so):
// the forms' twips were laid out in its metrics.
constexpr wchar_t kDialogFace[] = L"MS Shell Dlg";
constexpr int kDialogPoints = 8;

}  // namespace

FontSet::~FontSet() {
  if (dialog_ != nullptr) DeleteObject(dialog_);
  for (const OwnFont& own : own_) DeleteObject(own.font);
}

HFONT FontSet::Dialog() {
  if (dialog_ == nullptr) dialog_ = Make(kDialogFace, kDialogPoints, false, false, DEFAULT_CHARSET);
  return dialog_;
}

HFONT FontSet::For(const Control& control) {
  if (control.Kind() != ControlKind::kLabel) return Dialog();
  const Font& font = static_cast<const Label&>(control).GetFont();
  if (font.name.empty()) return Dialog();
  if (const auto found = Find(control); found != own_.end()) return found->font;
  HFONT own = Make(Wide(font.name).c_str(), font.points, font.bold, font.italic, font.charset);
  if (own != nullptr) own_.push_back({&control, own});
  return own;
}

HFONT FontSet::Take(const Control& control) {
  const auto found = Find(control);
  if (found == own_.end()) return nullptr;
  HFONT font = found->font;
  own_.erase(found);
  return font;
}

std::vector<FontSet::OwnFont>::iterator FontSet::Find(const Control& control) {
  return std::find_if(own_.begin(), own_.end(),
                      [&](const OwnFont& own) { return own.label == &control; });
}

HFONT FontSet::Make(const wchar_t* face, int points, bool bold, bool italic, int charset) const {
  LOGFONTW look{};
  look.lfHeight = -MulDiv(points, dpi_, kPointsPerInch);
  look.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  look.lfItalic = italic ? TRUE : FALSE;
  look.lfCharSet = static_cast<BYTE>(charset);
  look.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(look.lfFaceName, face, LF_FACESIZE);
  return CreateFontIndirectW(&look);
}

}  // namespace platform::win32
