#include "runtime/host/print_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace carelog::host {
namespace {

TEST(PaperSizes, APageIsNamedAfterTheStandardSizeItMatchesEitherWayRound) {
  EXPECT_EQ(PaperForPage(8.5, 11).name, "Letter");
  EXPECT_EQ(PaperForPage(11, 8.5).name, "Letter");
  EXPECT_EQ(PaperForPage(8.27, 11.69).name, "A4");  // within 1/20 inch
  PaperSize odd = PaperForPage(5, 7);
  EXPECT_EQ(odd.name, "5.00 x 7.00 in");
  EXPECT_DOUBLE_EQ(odd.width_inches, 5);
  for (const PaperSize& paper : StandardPaperSizes()) {
    EXPECT_EQ(PaperForPage(paper.width_inches, paper.height_inches), paper);
  }
}

class PrintSettingsTest : public ::testing::Test {
 protected:
  // No CUPS server: the built-in PDF printer is the only one and the default.
  void SetUp() override { setenv("CUPS_SERVER", "/nonexistent/carelog-cups.sock", 1); }
  void TearDown() override { unsetenv("CUPS_SERVER"); }
};

TEST_F(PrintSettingsTest, StartOnTheDefaultPrinterAndChangeOnlyWhenSet) {
  PrintSettings initial = CurrentPrintSettings();
  EXPECT_EQ(initial.printer, DefaultPrinter().name);
  EXPECT_EQ(initial.orientation, Orientation::kPortrait);
  EXPECT_FALSE(initial.paper.name.empty());
  PrintSettings chosen{kPdfPrinterName, PaperForPage(210 / 25.4, 297 / 25.4),
                       Orientation::kLandscape};
  SetPrintSettings(chosen);
  EXPECT_EQ(CurrentPrintSettings(), chosen);
  SetPrintSettings(initial);
}

TEST_F(PrintSettingsTest, PrintJobsGetTheChosenPaperTurnedForLandscape) {
  PrinterInfo printer;
  PrintSettings a4{kPdfPrinterName, PaperForPage(210 / 25.4, 297 / 25.4), Orientation::kLandscape};
  ASSERT_TRUE(PrinterForSettings(a4, &printer));
  const PrinterProperties& p = printer.properties;
  EXPECT_NEAR(p.page_width_inches, 11.69, 0.01);
  EXPECT_NEAR(p.page_height_inches, 8.27, 0.01);
  EXPECT_EQ(p.horizontal_resolution, 3508);  // 297 mm at 300 pixels per inch
  EXPECT_EQ(p.vertical_resolution, 2480);

  a4.orientation = Orientation::kPortrait;
  ASSERT_TRUE(PrinterForSettings(a4, &printer));
  EXPECT_NEAR(printer.properties.page_width_inches, 8.27, 0.01);
  EXPECT_EQ(printer.properties.horizontal_resolution, 2480);

  PrintSettings gone{"No Such Printer", a4.paper, Orientation::kPortrait};
  printer.name = "kept";
  EXPECT_FALSE(PrinterForSettings(gone, &printer));
  EXPECT_EQ(printer.name, "kept");
}

}  // namespace
}  // namespace carelog::host
