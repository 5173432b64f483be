// The scroll bars of a zoomed image: which bars a content needs, the view they leave, and the
// range the scroll position is kept in.
#include "runtime/window/image_scroll.h"

#include <gtest/gtest.h>

namespace carelog::window {
namespace {

const host::Rect kBounds{0, 0, 400, 300};

TEST(ImageScroll, BarsAppearOnlyWhereTheContentDoesNotFit) {
  ImageScrollLayout fits = LayoutImageScroll(kBounds, host::Size{400, 300});
  EXPECT_TRUE(fits.vertical.Empty());
  EXPECT_TRUE(fits.horizontal.Empty());
  EXPECT_EQ(fits.view, kBounds);

  ImageScrollLayout tall = LayoutImageScroll(kBounds, host::Size{380, 900});
  EXPECT_FALSE(tall.vertical.Empty());
  EXPECT_TRUE(tall.horizontal.Empty());  // 380 still fits beside the bar
  EXPECT_EQ(tall.view.Width(), 400 - kImageBarSize);
  EXPECT_EQ(tall.vertical.left, tall.view.right);

  // A content just as wide as the control needs the horizontal bar once the vertical bar
  // has taken its strip, and the two bars never overlap.
  ImageScrollLayout both = LayoutImageScroll(kBounds, host::Size{400, 900});
  EXPECT_FALSE(both.horizontal.Empty());
  EXPECT_EQ(both.view, (host::Rect{0, 0, 400 - kImageBarSize, 300 - kImageBarSize}));
  EXPECT_EQ(both.vertical.bottom, both.horizontal.top);
  EXPECT_EQ(both.horizontal.right, both.vertical.left);

  // Wide but short: the horizontal bar's strip makes the height too small as well.
  ImageScrollLayout wide = LayoutImageScroll(kBounds, host::Size{900, 295});
  EXPECT_FALSE(wide.horizontal.Empty());
  EXPECT_FALSE(wide.vertical.Empty());
}

TEST(ImageScroll, TheScrollPositionStaysWithinTheContent) {
  host::Size content{600, 900};
  ImageScrollLayout layout = LayoutImageScroll(kBounds, content);
  host::Point far = ClampImageScroll(layout, content, host::Point{5000, 5000});
  EXPECT_EQ(far.x, content.width - layout.view.Width());
  EXPECT_EQ(far.y, content.height - layout.view.Height());
  EXPECT_EQ(ClampImageScroll(layout, content, host::Point{-3, -9}), (host::Point{0, 0}));
  // Content smaller than the view never scrolls.
  ImageScrollLayout small = LayoutImageScroll(kBounds, host::Size{100, 100});
  EXPECT_EQ(ClampImageScroll(small, host::Size{100, 100}, host::Point{50, 50}),
            (host::Point{0, 0}));
}

}  // namespace
}  // namespace carelog::window
