// Twips (1440 to the inch) are the unit the window's layout is drawn up in; the screen wants
// pixels at the display's DPI.
#pragma once

namespace ui {

inline constexpr int kTwipsPerInch = 1440;

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Rounds the way MulDiv(twips, dpi, 1440) does: to the nearest pixel, halves away from zero
// (-15 twips at 144 DPI is -2 px). `dpi` must be positive.
int TwipsToPixels(int twips, int dpi);

// Each of the four values on its own, so a control keeps its given width at every DPI instead
// of taking the rounding of its right edge.
PixelRect TwipsToPixels(const TwipsRect& rect, int dpi);

}  // namespace ui
