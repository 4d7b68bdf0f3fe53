#pragma once
// What a form or a container paints itself, with no window of their own: the frame's
// border, shapes and transparent labels. Painted off screen and copied in one go, so that
// nothing flickers while a backdrop of many strips builds up.
#include <windows.h>

#include <string>
#include <vector>

namespace platform::win32 {

struct PaintedShape {
  RECT rect;
  COLORREF fill;
  COLORREF border;
};

struct PaintedText {
  RECT rect;
  std::wstring text;
  HFONT font;
  COLORREF colour;
  bool centred;
};

struct PaintedLayer {
  RECT client{};
  bool etchedBorder = false;
  std::vector<PaintedShape> shapes;  // in the order of creation
  std::vector<PaintedText> texts;    // drawn over the shapes
};

// Paints the part `area` of the layer onto `target`.
void PaintLayer(HDC target, const RECT& area, const PaintedLayer& layer);

}  // namespace platform::win32
