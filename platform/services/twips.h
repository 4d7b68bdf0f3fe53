#pragma once
// Twips (1/1440 inch) and the screen's pixels. A twip is not a whole part of a pixel at most
// DPIs (7.5 twips at 192 dpi, 8.57... at 168), so a length goes from one unit to the other
// through the DPI itself and is rounded once, to the nearest whole unit: a length in pixels
// comes back unchanged from its twips at every DPI up to 1440.

namespace platform {

constexpr int kTwipsPerInch = 1440;

// value x numerator / denominator, rounded to the nearest whole number with halves away from
// zero, as the system's MulDiv does. The denominator is above 0 and the product fits in 32
// bits (lengths of up to a million pixels or twips).
int ScaleRounded(int value, int numerator, int denominator);

inline int PixelsToTwips(int pixels, int dpi) { return ScaleRounded(pixels, kTwipsPerInch, dpi); }
inline int TwipsToPixels(int twips, int dpi) { return ScaleRounded(twips, dpi, kTwipsPerInch); }

}  // namespace platform
