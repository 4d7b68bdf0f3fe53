#include "platform/win32/painted_layer.h"

namespace platform::win32 {

namespace {

void FillWith(HDC dc, const RECT& rect, COLORREF colour) {
  SetDCBrushColor(dc, colour);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void PaintShape(HDC dc, const PaintedShape& shape) {
  FillWith(dc, shape.rect, shape.fill);
  if (shape.border == shape.fill) return;
  SetDCBrushColor(dc, shape.border);
  FrameRect(dc, &shape.rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void PaintText(HDC dc, const PaintedText& text) {
  RECT rect = text.rect;
  SelectObject(dc, text.font);
  SetTextColor(dc, text.colour);
  const UINT format = DT_WORDBREAK | DT_NOPREFIX | (text.centred ? DT_CENTER : DT_LEFT);
  DrawTextW(dc, text.text.c_str(), static_cast<int>(text.text.size()), &rect, format);
}

void PaintAll(HDC dc, const RECT& area, const PaintedLayer& layer) {
  FillWith(dc, area, GetSysColor(COLOR_BTNFACE));
  for (const PaintedShape& shape : layer.shapes) PaintShape(dc, shape);
  SetBkMode(dc, TRANSPARENT);
  for (const PaintedText& text : layer.texts) PaintText(dc, text);
  if (layer.etchedBorder) {
    RECT border = layer.client;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
  }
}

}  // namespace

void PaintLayer(HDC target, const RECT& area, const PaintedLayer& layer) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  HDC buffer = CreateCompatibleDC(target);
  HBITMAP pixels = CreateCompatibleBitmap(target, width, height);
  if (buffer == nullptr || pixels == nullptr) {
    // Short of memory for the buffer: paint straight onto the target.
    if (buffer != nullptr) DeleteDC(buffer);
    if (pixels != nullptr) DeleteObject(pixels);
    PaintAll(target, area, layer);
    return;
  }
  HGDIOBJ oldPixels = SelectObject(buffer, pixels);
  HGDIOBJ oldFont = GetCurrentObject(buffer, OBJ_FONT);
  SetViewportOrgEx(buffer, -area.left, -area.top, nullptr);
  PaintAll(buffer, area, layer);
  BitBlt(target, area.left, area.top, width, height, buffer, area.left, area.top, SRCCOPY);
  SelectObject(buffer, oldFont);
  SelectObject(buffer, oldPixels);
  DeleteObject(pixels);
  DeleteDC(buffer);
}

}  // namespace platform::win32
