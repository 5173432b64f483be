#include "runtime/host/graphics.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "runtime/host/mdi.h"
#include "runtime/host/message_queue.h"
#include "runtime/host/window_system.h"

namespace carelog::host {
namespace {

const std::filesystem::path kTestData = std::filesystem::path(CARELOG_TEST_SOURCE_DIR) / "testdata";

// Compares a rendered surface with a checked-in reference image. Pixels may differ a little
// (anti-aliasing and font versions); a scene fails when more than 0.5% of its pixels differ
// by more than 64 in some channel. CARELOG_UPDATE_REFERENCES=1 rewrites the references.
void ExpectMatchesReference(const Surface& rendered, const std::string& name) {
  std::string path = (kTestData / (name + ".png")).string();
  if (std::getenv("CARELOG_UPDATE_REFERENCES")) {
    ASSERT_TRUE(rendered.SavePng(path));
    return;
  }
  std::shared_ptr<Surface> reference = Surface::LoadPng(path);
  ASSERT_TRUE(reference) << "missing reference " << path;
  ASSERT_EQ(reference->Width(), rendered.Width());
  ASSERT_EQ(reference->Height(), rendered.Height());
  int differing = 0;
  for (int y = 0; y < rendered.Height(); ++y) {
    for (int x = 0; x < rendered.Width(); ++x) {
      uint32_t a = rendered.Pixel(x, y), b = reference->Pixel(x, y);
      for (int shift = 0; shift < 32; shift += 8) {
        int da = static_cast<int>((a >> shift) & 0xFF), db = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(da - db) > 64) {
          ++differing;
          break;
        }
      }
    }
  }
  int allowed = rendered.Width() * rendered.Height() / 200;
  if (differing > allowed) {
    std::string actual = (std::filesystem::temp_directory_path() / (name + ".actual.png")).string();
    rendered.SavePng(actual);
    ADD_FAILURE() << name << ": " << differing << " pixels differ (allowed " << allowed
                  << "); rendered image left in " << actual;
  }
}

constexpr uint32_t kBlack = 0xFF000000, kWhite = 0xFFFFFFFF, kRed = 0xFFFF0000;

TEST(Drawing, ShapesCoverExactlyTheirRectangles) {
  auto surface = Surface::Create(20, 20);
  DeviceContext dc(surface);
  dc.FillRect(Rect{2, 2, 5, 4}, Color{255, 0, 0});
  EXPECT_EQ(surface->Pixel(2, 2), kRed);
  EXPECT_EQ(surface->Pixel(4, 3), kRed);
  EXPECT_EQ(surface->Pixel(5, 3), kWhite);
  EXPECT_EQ(surface->Pixel(4, 4), kWhite);

  dc.SetPen(Color{0, 0, 0});
  dc.SetNoBrush();
  dc.Rectangle(Rect{8, 8, 12, 12});  // outline inside the rectangle
  EXPECT_EQ(surface->Pixel(8, 8), kBlack);
  EXPECT_EQ(surface->Pixel(11, 11), kBlack);
  EXPECT_EQ(surface->Pixel(12, 12), kWhite);
  EXPECT_EQ(surface->Pixel(9, 9), kWhite);

  dc.MoveTo(Point{0, 15});
  dc.LineTo(Point{10, 15});  // the end point stays clear
  EXPECT_EQ(surface->Pixel(0, 15), kBlack);
  EXPECT_EQ(surface->Pixel(9, 15), kBlack);
  EXPECT_EQ(surface->Pixel(10, 15), kWhite);
  EXPECT_EQ(surface->Pixel(5, 14), kWhite);
  EXPECT_EQ(surface->Pixel(5, 16), kWhite);
}

TEST(Drawing, SurfaceSizesStayWithinBounds) {
  auto tiny = Surface::Create(-5, 0);
  EXPECT_EQ(tiny->Width(), 1);
  EXPECT_EQ(tiny->Height(), 1);
  auto huge = Surface::Create(0x7FFFFFFF, 2);
  EXPECT_EQ(huge->Width(), kMaxSurfaceSide);
  EXPECT_EQ(Surface::LoadPng("/nonexistent/picture.png"), nullptr);
  auto part = Surface::Create(10, 10, Color{255, 0, 0})->Copy(Rect{8, 8, 20, 20});
  EXPECT_EQ(part->Width(), 2);
  EXPECT_EQ(part->Pixel(1, 1), kRed);
}

TEST(Drawing, ClippingAndTranslationNestWithSaveAndRestore) {
  auto surface = Surface::Create(20, 20);
  DeviceContext dc(surface);
  dc.Save();
  dc.Translate(5, 5);
  dc.IntersectClip(Rect{0, 0, 5, 5});
  EXPECT_EQ(dc.ClipBox(), Rect(0, 0, 5, 5));
  dc.FillRect(Rect{-5, -5, 20, 20}, Color{255, 0, 0});
  dc.Restore();
  EXPECT_EQ(surface->Pixel(5, 5), kRed);
  EXPECT_EQ(surface->Pixel(9, 9), kRed);
  EXPECT_EQ(surface->Pixel(10, 10), kWhite);
  EXPECT_EQ(surface->Pixel(4, 4), kWhite);
  dc.FillRect(Rect{0, 0, 1, 1}, Color{0, 0, 0});  // the clip is gone after Restore
  EXPECT_EQ(surface->Pixel(0, 0), kBlack);
  dc.InvertRect(Rect{0, 0, 2, 1});
  EXPECT_EQ(surface->Pixel(0, 0), kWhite);
  EXPECT_EQ(surface->Pixel(1, 0), kBlack);
}

TEST(Fonts, DefinitionFacesMapToMetricCompatibleFaces) {
  EXPECT_EQ(ResolvedFamily("Arial"), "Liberation Sans");
  EXPECT_EQ(ResolvedFamily("Times New Roman"), "Liberation Serif");
  EXPECT_EQ(ResolvedFamily("Courier New"), "Liberation Mono");
  EXPECT_EQ(ResolvedFamily("Arial Narrow"), "Liberation Sans Narrow");
  EXPECT_EQ(ResolvedFamily("MS Sans Serif"), "Liberation Sans");
  EXPECT_EQ(ResolvedFamily("Helv"), "Liberation Sans");
  EXPECT_EQ(ResolvedFamily("System"), "Liberation Sans");
}

TEST(Fonts, MetricsFollowFaceSizeAndResolution) {
  auto surface = Surface::Create(10, 10);
  DeviceContext screen(surface, 96);
  FontSpec arial;
  arial.face = "Arial";
  arial.points = 10;
  screen.SetFont(arial);
  TextMetrics m = screen.Metrics();
  EXPECT_GE(m.height, 14);  // 10 points at 96 per inch is 13.3 units of em
  EXPECT_LE(m.height, 18);
  EXPECT_GE(m.average_char_width, 5);
  EXPECT_LE(m.average_char_width, 8);
  EXPECT_EQ(m.height, m.ascent + m.descent);

  FontSpec bold = arial;
  bold.weight = 700;
  screen.SetFont(bold);
  int bold_width = screen.TextExtent("Patient Name").width;
  screen.SetFont(arial);
  EXPECT_GT(bold_width, screen.TextExtent("Patient Name").width);

  DeviceContext printer(surface, 300);
  printer.SetFont(arial);
  EXPECT_NEAR(printer.Metrics().height, m.height * 300 / 96, 4);

  FontSpec mono;
  mono.face = "Courier New";
  screen.SetFont(mono);
  EXPECT_EQ(screen.TextExtent("iiii").width, screen.TextExtent("WWWW").width);
  EXPECT_EQ(screen.TextExtent("").width, 0);
}

TEST(Drawing, TextScene) {
  auto surface = Surface::Create(240, 120);
  DeviceContext dc(surface);
  FontSpec f;
  f.face = "Arial";
  f.points = 10;
  dc.SetFont(f);
  dc.TextOut(Point{4, 4}, "Patient: M\xFCller, Ren\xE9");  // ANSI text with accents
  f.face = "Times New Roman";
  f.weight = 700;
  f.italic = true;
  f.color = Color{0, 0, 160};
  dc.SetFont(f);
  dc.TextOut(Point{4, 24}, "Plan of Care");
  f = FontSpec{};
  f.face = "Courier New";
  f.underline = true;
  dc.SetFont(f);
  dc.SetTextBackground(Color{255, 255, 0}, true);
  dc.TextOut(Point{4, 46}, "12/08/2026");
  dc.SetTextBackground(Color{}, false);
  f = FontSpec{};
  f.face = "MS Sans Serif";
  f.points = 8;
  dc.SetFont(f);
  dc.DrawText(Rect{4, 70, 120, 116}, "Word wrapping keeps long notes inside the box.",
              text::kWordWrap);
  dc.DrawText(Rect{124, 70, 236, 90}, "&Browse", text::kCenter | text::kHotkeyPrefix);
  dc.DrawText(Rect{124, 92, 236, 116}, "Right", text::kRight | text::kVCenter);
  ExpectMatchesReference(*surface, "text_scene");
}

TEST(Drawing, ShapesBitmapsAndIconsScene) {
  auto surface = Surface::Create(200, 100);
  DeviceContext dc(surface);
  dc.SetPen(Color{0, 0, 0}, 2);
  dc.SetBrush(Color{200, 220, 255});
  dc.Rectangle(Rect{4, 4, 60, 40});
  dc.SetPen(Color{200, 0, 0}, 1, PenStyle::kDash);
  dc.MoveTo(Point{4, 50});
  dc.LineTo(Point{90, 50});
  dc.SetPen(Color{0, 128, 0});
  dc.SetBrush(Color{255, 255, 0});
  dc.Ellipse(Rect{66, 4, 100, 40});
  dc.RoundRect(Rect{4, 56, 60, 96}, 8);
  dc.FocusRect(Rect{66, 56, 100, 96});
  uint32_t checker[16];
  for (int i = 0; i < 16; ++i) checker[i] = ((i / 4 + i % 4) % 2) ? 0xFF000080 : 0xFFFFFFFF;
  auto bitmap = Surface::FromPixels(4, 4, checker, 4);
  dc.DrawBitmap(*bitmap, Rect{104, 4, 136, 36});  // scaled up
  dc.DrawBitmap(*bitmap, Rect{140, 4, 144, 8});
  dc.DrawIcon(StandardIcon::kStop, Rect{104, 56, 136, 88});
  dc.DrawIcon(StandardIcon::kQuestion, Rect{140, 56, 172, 88});
  dc.DrawIcon(StandardIcon::kExclamation, Rect{164, 20, 196, 52});
  EXPECT_EQ(surface->Pixel(141, 4), 0xFF000080);
  ExpectMatchesReference(*surface, "shapes_scene");
}

TEST(Drawing, WindowsPaintIntoTheirTopLevelSurface) {
  WindowSpec spec;
  spec.title = "Frame";
  spec.rect = Rect::FromSize(0, 0, 320, 200);
  spec.background = Color{128, 128, 128};
  WindowId frame = CreateWindow(spec);
  spec.kind = WindowKind::kMdiClient;
  spec.parent = frame;
  spec.rect = Rect::FromSize(0, 0, 320, 200);
  WindowId client = CreateWindow(spec);
  spec.kind = WindowKind::kMdiChild;
  spec.parent = client;
  spec.style = style::kVisible | style::kCaption | style::kMinimizeBox | style::kMaximizeBox;
  spec.background = Color{255, 255, 255};
  spec.title = "Browse Patients";
  spec.rect = Rect::FromSize(10, 10, 200, 120);
  WindowId first = CreateWindow(spec);
  spec.title = "Visit Calendar";
  spec.rect = Rect::FromSize(90, 60, 200, 120);
  WindowId second = CreateWindow(spec);
  spec.kind = WindowKind::kChild;
  spec.parent = first;
  spec.style = style::kVisible | style::kBorder;
  spec.rect = Rect::FromSize(10, 10, 80, 24);
  spec.background = Color{255, 255, 220};
  CreateWindow(spec);
  MdiActivate(first);
  UpdateWindows();
  ExpectMatchesReference(*SurfaceOf(frame), "mdi_scene");
  MdiActivate(second);  // the other child comes forward with an active caption
  UpdateWindows();
  auto surface = SurfaceOf(frame);
  Point caption{90 + kFrameWidth, 60 + kFrameWidth + 2};
  EXPECT_EQ(surface->Pixel(caption.x + 100, caption.y), 0xFF000080);
  DestroyWindow(frame);
  Message m;
  while (PeekMessage(&m)) {
  }
}

}  // namespace
}  // namespace carelog::host
