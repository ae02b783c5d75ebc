#include "ui/twips.h"

#include <cstdint>

namespace ui {

int TwipsToPixels(int twips, int dpi) {
  const std::int64_t product = static_cast<std::int64_t>(twips) * dpi;
  std::int64_t pixels = product / kTwipsPerInch;
  const std::int64_t rest = product % kTwipsPerInch;
  // The remainder takes the sign of the product; a half or more rounds away from zero.
  if (2 * rest >= kTwipsPerInch) ++pixels;
  if (2 * rest <= -kTwipsPerInch) --pixels;
  return static_cast<int>(pixels);
}

PixelRect TwipsToPixels(const TwipsRect& rect, int dpi) {
  return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
          TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi)};
}

}  // namespace ui
