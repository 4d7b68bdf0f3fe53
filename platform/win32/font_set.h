#pragma once
// The fonts of one form at its DPI: the system's dialog font for the controls, and a font
// of its own for each label that names one.
#include <windows.h>

#include <vector>

#include "platform/forms/controls.h"

namespace platform::win32 {

class FontSet {
 public:
  explicit FontSet(int dpi) : dpi_(dpi) {}
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  int Dpi() const { return dpi_; }

  HFONT Dialog();
  // The label's own font when it names one, otherwise the dialog font.
  HFONT For(const Control& control);
  // Hands over the label's own font, to be deleted once the label no longer uses it: its
  // look has changed, and For makes the font again.
  HFONT Take(const Control& control);

 private:
  HFONT Make(const wchar_t* face, int points, bool bold, bool italic, int charset) const;

  // A label's own font. A form has a handful of them, so a list serves.
  struct OwnFont {
    const Control* label;
    HFONT font;
  };
  std::vector<OwnFont>::iterator Find(const Control& control);

  const int dpi_;
  HFONT dialog_ = nullptr;
  std::vector<OwnFont> own_;
};

}  // namespace platform::win32
