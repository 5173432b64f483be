// Band recording with controls in several fonts: every text line takes the height of its own
// font, however often the band switches between fonts and however many bands share a context.
#include "runtime/report/band_painter.h"

#include <gtest/gtest.h>

#include "tools/defc/text_parser.h"

namespace carelog::report {
namespace {

constexpr const char* kBands = R"(module "bands.cpp$wintest"
report "FONTS$REPORT"
  units points
  at 0 0 600 800
  font "Arial" 10
  detail id 1 at 0 0 600 -
    string "small" at 0 0 100 1 font "Arial" 8
    string "large" at 0 0 100 1 font "Arial" 24
    string "bold" at 0 0 100 1 font "Arial" 8 fontstyle 700
    string "small again" at 0 0 100 1 font "Arial" 8
  end
  detail id 2 at 0 0 600 -
    string "small" at 0 0 100 1 font "Arial" 8
  end
  detail id 3 at 0 0 600 -
    string "inherits" at 0 0 100 1
  end
end
)";

class BandPainterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    defc::ParseError error;
    ASSERT_TRUE(defc::ParseModule(kBands, &module_, &error)) << error.line << ": " << error.message;
    context_.measure = &measure_;
    context_.pixels_per_inch = 300;
    context_.report_font.face = "Arial";
    context_.report_font.points = 10;
  }
  const window::Entry& Band(size_t i) const { return module_.structures.at(0).children.at(i); }
  // The line height of `points` Arial measured straight on a context of its own.
  int LineHeightOf(double points) {
    host::DeviceContext fresh(host::Surface::Create(1, 1), 300);
    host::FontSpec font;
    font.face = "Arial";
    font.points = points;
    fresh.SetFont(DeviceFont(PageFontOf(font, 300), 1, fresh.Dpi(), font.color));
    return fresh.Metrics().height;
  }

  window::Module module_;
  host::DeviceContext measure_{host::Surface::Create(1, 1), 300};
  BandContext context_;
};

TEST_F(BandPainterTest, EachFontKeepsItsOwnLineHeightAcrossBands) {
  int small = LineHeightOf(8), large = LineHeightOf(24), normal = LineHeightOf(10);
  ASSERT_LT(small, normal);
  ASSERT_LT(normal, large);
  // The tallest line of a band without a height of its own makes its height.
  EXPECT_EQ(PaintBand(Band(0), context_).height, large);
  // Fonts measured in an earlier band give the same heights again, in any order.
  EXPECT_EQ(PaintBand(Band(1), context_).height, small);
  EXPECT_EQ(PaintBand(Band(2), context_).height, normal);
  EXPECT_EQ(PaintBand(Band(0), context_).height, large);
  EXPECT_EQ(PaintBand(Band(1), context_).height, small);
}

TEST_F(BandPainterTest, TheDrawingSelectsEachControlsFontBeforeItsText) {
  BandDrawing band = PaintBand(Band(0), context_);
  std::vector<std::pair<int, std::string>> texts;  // (font height, text)
  int height = 0;
  for (const DrawOp& op : band.drawing.ops()) {
    if (op.code == DrawCode::kFont) height = op.font.height;
    if (op.code == DrawCode::kText) texts.emplace_back(height, op.text);
  }
  std::vector<std::pair<int, std::string>> expected = {
      {33, "small"}, {100, "large"}, {33, "bold"}, {33, "small again"}};
  EXPECT_EQ(texts, expected);
}

}  // namespace
}  // namespace carelog::report
