// Dense screens: the scale chosen from a density or the command line, surfaces that keep their
// logical size while holding scale x the pixels, text drawn at the screen's density rather
// than enlarged, and windows whose screenshots keep their logical size.
#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/host/automation.h"
#include "runtime/host/display.h"
#include "runtime/host/graphics.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/window_system.h"
#include "runtime/host/x_resources.h"

namespace carelog::host {
namespace {

bool Dark(uint32_t pixel) {
  return ((pixel >> 16) & 0xFF) < 128 && ((pixel >> 8) & 0xFF) < 128 && (pixel & 0xFF) < 128;
}

// The rows a surface's dark pixels span, in its device pixels.
struct Ink {
  int top = -1, bottom = -1, pixels = 0;
};

Ink InkOf(const Surface& s) {
  Ink ink;
  for (int y = 0; y < s.DeviceHeight(); ++y) {
    for (int x = 0; x < s.DeviceWidth(); ++x) {
      if (!Dark(s.Pixel(x, y))) continue;
      if (ink.top < 0) ink.top = y;
      ink.bottom = y + 1;
      ++ink.pixels;
    }
  }
  return ink;
}

// A word in Arial at 10 points on a surface of this scale.
std::shared_ptr<Surface> Word(double scale) {
  auto surface = Surface::Create(120, 30, Color{255, 255, 255}, scale);
  DeviceContext dc(surface);
  dc.SetFont(FontSpec{"Arial", 10});
  dc.TextOut(Point{4, 4},
             "Ng\xfa\xf1"
             "ez Zo\xeb");
  return surface;
}

class DisplayScaleTest : public ::testing::Test {
 protected:
  void TearDown() override { ForgetDisplayScale(); }
};

TEST_F(DisplayScaleTest, DensitiesAndArgumentsGiveScalesFromOneToFour) {
  EXPECT_EQ(ScaleForDpi(96), 1);
  EXPECT_EQ(ScaleForDpi(100), 1);  // a little over 96 is no reason to scale
  EXPECT_EQ(ScaleForDpi(120), 1.25);
  EXPECT_EQ(ScaleForDpi(144), 1.5);
  EXPECT_EQ(ScaleForDpi(192), 2);
  EXPECT_EQ(ScaleForDpi(0), 1);
  EXPECT_EQ(ScaleForDpi(72), 1);
  EXPECT_EQ(ScaleForDpi(1000), 4);

  const char* two[] = {"carelog", "--scale=2"};
  ASSERT_TRUE(ScaleFromArguments(2, two));
  EXPECT_EQ(DisplayScale(), 2);
  // What the display reports does not override a scale asked for.
  SetDisplayScaleFromDisplay(1.5);
  EXPECT_EQ(DisplayScale(), 2);
  for (const char* bad : {"--scale=", "--scale=0.5", "--scale=5", "--scale=2x", "--scale=nan"}) {
    const char* args[] = {"carelog", bad};
    EXPECT_FALSE(ScaleFromArguments(2, args)) << bad;
    EXPECT_EQ(DisplayScale(), 2) << bad;
  }
  EXPECT_FALSE(SetDisplayScale(0));
}

TEST_F(DisplayScaleTest, XftDpiIsReadFromTheServersResources) {
  EXPECT_EQ(internal::XftDpiOf("Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n"), 192);
  EXPECT_EQ(internal::XftDpiOf("Xft.dpi: 144"), 144);
  EXPECT_EQ(internal::XftDpiOf("Xft.dpi:\t96\nXft.dpi:\t120\n"), 120);  // the last one counts
  EXPECT_EQ(internal::XftDpiOf("Xft.dpix:\t192\n*dpi:\tmany\nXft.dpi:\tlots\n"), 0);
  EXPECT_EQ(internal::XftDpiOf(""), 0);
}

TEST(ComposeCacheTest, TheProgramsCacheIsUsedOnlyWhereTheUserChoseNone) {
  using internal::ComposeCacheDirectory;
  EXPECT_EQ(ComposeCacheDirectory(nullptr, nullptr, "/home/ann", false),
            "/home/ann/.cache/carelog/compose");
  EXPECT_EQ(ComposeCacheDirectory("", "/var/ann", "/home/ann", false), "/var/ann/carelog/compose");
  EXPECT_EQ(ComposeCacheDirectory(nullptr, "relative", "/home/ann", false),
            "/home/ann/.cache/carelog/compose");
  EXPECT_EQ(ComposeCacheDirectory("/mine", nullptr, "/home/ann", false), "");
  EXPECT_EQ(ComposeCacheDirectory(nullptr, nullptr, "/home/ann", true), "");
  EXPECT_EQ(ComposeCacheDirectory(nullptr, nullptr, nullptr, false), "");
  EXPECT_EQ(ComposeCacheDirectory(nullptr, nullptr, "", false), "");
}

TEST_F(DisplayScaleTest, ASurfaceKeepsItsLogicalSizeAndPaintsThroughTheScale) {
  auto surface = Surface::Create(100, 50, Color{255, 255, 255}, 2);
  EXPECT_EQ(surface->Width(), 100);
  EXPECT_EQ(surface->Height(), 50);
  EXPECT_EQ(surface->DeviceWidth(), 200);
  EXPECT_EQ(surface->DeviceHeight(), 100);
  {
    DeviceContext dc(surface);
    dc.FillRect(Rect{10, 10, 30, 20}, Color{0, 0, 0});
    dc.SetPen(Color{255, 0, 0});
    dc.MoveTo(Point{0, 40});
    dc.LineTo(Point{100, 40});
  }
  // The rectangle covers twice the device pixels in each direction, edges included.
  EXPECT_EQ(surface->Pixel(20, 20), 0xFF000000u);
  EXPECT_EQ(surface->Pixel(59, 39), 0xFF000000u);
  EXPECT_EQ(surface->Pixel(60, 30), 0xFFFFFFFFu);
  EXPECT_EQ(surface->Pixel(19, 30), 0xFFFFFFFFu);
  // A one-unit line is two device rows.
  EXPECT_EQ(surface->Pixel(50, 80), 0xFFFF0000u);
  EXPECT_EQ(surface->Pixel(50, 81), 0xFFFF0000u);
  EXPECT_EQ(surface->Pixel(50, 82), 0xFFFFFFFFu);
  // A copy keeps the scale; the logical picture is the logical size with the same content.
  auto part = surface->Copy(Rect{10, 10, 40, 30});
  EXPECT_EQ(part->DeviceWidth(), 60);
  EXPECT_EQ(part->Pixel(0, 0), 0xFF000000u);
  auto logical = surface->AtLogicalSize();
  EXPECT_EQ(logical->DeviceWidth(), 100);
  EXPECT_EQ(logical->Scale(), 1);
  EXPECT_EQ(logical->Pixel(15, 15), 0xFF000000u);
  EXPECT_EQ(logical->Pixel(50, 15), 0xFFFFFFFFu);
  // Absurd scales are held to what a screen can have.
  EXPECT_EQ(Surface::Create(10, 10, Color{}, 100)->Scale(), kMaxSurfaceScale);
  EXPECT_EQ(Surface::Create(10, 10, Color{}, 0)->Scale(), 1);
}

TEST_F(DisplayScaleTest, TextIsDrawnAtTheScreensDensityNotEnlarged) {
  Ink one = InkOf(*Word(1));
  auto dense = Word(2);
  Ink two = InkOf(*dense);
  ASSERT_GT(one.pixels, 0);
  // Twice as tall and about four times the ink: the same text at the same logical size.
  EXPECT_NEAR(two.bottom - two.top, 2 * (one.bottom - one.top), 2);
  EXPECT_NEAR(static_cast<double>(two.pixels) / one.pixels, 4, 1.2);
  // An enlarged picture would be made of uniform 2 x 2 blocks; glyphs drawn at the density
  // have edges that fall inside the blocks.
  int blocks = 0, split = 0;
  for (int y = 0; y + 1 < dense->DeviceHeight(); y += 2) {
    for (int x = 0; x + 1 < dense->DeviceWidth(); x += 2) {
      uint32_t p = dense->Pixel(x, y);
      bool uniform = p == dense->Pixel(x + 1, y) && p == dense->Pixel(x, y + 1) &&
                     p == dense->Pixel(x + 1, y + 1);
      if (p == 0xFFFFFFFFu && uniform) continue;
      ++blocks;
      if (!uniform) ++split;
    }
  }
  EXPECT_GT(split, blocks / 2);
}

TEST_F(DisplayScaleTest, WindowsAtScaleTwoKeepTheirLogicalGeometryAndScreenshotSize) {
  ASSERT_TRUE(SetDisplayScale(2));
  WindowSpec spec;
  spec.title = "Scaled";
  spec.rect = Rect::FromSize(10, 10, 200, 100);
  spec.style = style::kVisible;
  WindowId top = CreateWindow(spec);
  spec.kind = WindowKind::kChild;
  spec.parent = top;
  spec.style = style::kVisible | style::kBorder;
  spec.rect = Rect::FromSize(20, 30, 60, 20);
  spec.background = Color{255, 255, 220};
  WindowId child = CreateWindow(spec);
  UpdateWindows();
  EXPECT_EQ(WindowRect(child), Rect::FromSize(20, 30, 60, 20));
  std::shared_ptr<Surface> surface = SurfaceOf(top);
  EXPECT_EQ(surface->DeviceWidth(), 400);
  // The child's border and fill land at twice its logical rectangle.
  EXPECT_EQ(surface->Pixel(40, 60) & 0xFFFFFF, 0u);
  EXPECT_EQ(surface->Pixel(45, 65), 0xFFFFFFDCu);
  EXPECT_EQ(surface->Pixel(155, 95), 0xFFFFFFDCu);
  EXPECT_NE(surface->Pixel(165, 95), 0xFFFFFFDCu);

  auto dir = std::filesystem::temp_directory_path() / "carelog_scale_test";
  std::filesystem::create_directories(dir);
  Automation automation;
  ASSERT_TRUE(automation.Screenshot((dir / "logical.png").string()).ok);
  ASSERT_TRUE(automation.Screenshot((dir / "device.png").string(), ScreenshotSize::kDevice).ok);
  auto logical = Surface::LoadPng((dir / "logical.png").string());
  auto device = Surface::LoadPng((dir / "device.png").string());
  ASSERT_TRUE(logical && device);
  EXPECT_EQ(logical->Width(), 200);
  EXPECT_EQ(logical->Height(), 100);
  EXPECT_EQ(device->Width(), 400);
  EXPECT_EQ(logical->Pixel(50, 40), 0xFFFFFFDCu);
  std::filesystem::remove_all(dir);
  DestroyWindow(top);
  Message m;
  while (PeekMessage(&m)) {
  }
}

}  // namespace
}  // namespace carelog::host
