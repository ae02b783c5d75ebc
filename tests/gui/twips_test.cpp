#include "ui/twips.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

TEST(TwipsToPixels, FifteenTwipsArePixelAt96Dpi) {
  EXPECT_EQ(TwipsToPixels(5745, 96), 383);
  EXPECT_EQ(TwipsToPixels(2865, 96), 191);
  EXPECT_EQ(TwipsToPixels(-15, 96), -1);
  EXPECT_EQ(TwipsToPixels(0, 96), 0);
}

// MulDiv's rule: halves go away from zero, on both sides of it.
TEST(TwipsToPixels, HalvesRoundAwayFromZero) {
  EXPECT_EQ(TwipsToPixels(5745, 144), 575);  // 574.5
  EXPECT_EQ(TwipsToPixels(-15, 144), -2);    // -1.5
  EXPECT_EQ(TwipsToPixels(7, 96), 0);        // 0.4666
  EXPECT_EQ(TwipsToPixels(8, 96), 1);        // 0.5333
  EXPECT_EQ(TwipsToPixels(-7, 96), 0);
  EXPECT_EQ(TwipsToPixels(-8, 96), -1);
  EXPECT_EQ(TwipsToPixels(1185, 120), 99);  // 98.75
  EXPECT_EQ(TwipsToPixels(225, 120), 19);   // 18.75
}

TEST(TwipsToPixels, LargeValuesDoNotOverflow) {
  EXPECT_EQ(TwipsToPixels(2'000'000'000, 480), 666'666'667);
  EXPECT_EQ(TwipsToPixels(-2'000'000'000, 480), -666'666'667);
}

// Each value is converted on its own: the width stays the given width, not right edge minus left.
TEST(TwipsToPixels, RectConvertsEachValueOnItsOwn) {
  EXPECT_EQ(TwipsToPixels(TwipsRect{-15, 2610, 2175, 225}, 144), (PixelRect{-2, 261, 218, 23}));
  EXPECT_EQ(TwipsToPixels(TwipsRect{5385, 0, 360, 375}, 96), (PixelRect{359, 0, 24, 25}));
}

}  // namespace
}  // namespace ui
