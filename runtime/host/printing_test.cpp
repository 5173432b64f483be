#include "runtime/host/printing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace carelog::host {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int CountPages(const std::string& pdf) {
  int pages = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
       at = pdf.find("/Type /Page", at + 1)) {
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  }
  return pages;
}

class PrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // No CUPS server: only the built-in printer is there, and it is the default.
    setenv("CUPS_SERVER", "/nonexistent/carelog-cups.sock", 1);
    // One directory per test process: ctest runs the tests of this file side by side.
    directory_ = std::filesystem::temp_directory_path() /
                 ("carelog_printing_test_" + std::to_string(getpid()));
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override {
    std::filesystem::remove_all(directory_);
    unsetenv("CUPS_SERVER");
  }
  std::filesystem::path directory_;
};

TEST_F(PrintingTest, WithoutCupsThePdfPrinterIsTheDefault) {
  std::vector<PrinterInfo> printers = ListPrinters();
  int defaults = 0;
  for (const PrinterInfo& p : printers) defaults += p.is_default;
  EXPECT_EQ(defaults, 1);
  PrinterInfo pdf = DefaultPrinter();
  EXPECT_EQ(pdf.name, kPdfPrinterName);
  EXPECT_TRUE(pdf.writes_pdf_file);
  EXPECT_EQ(pdf.properties.horizontal_resolution, 2550);  // Letter at 300 per inch
  EXPECT_EQ(pdf.properties.vertical_resolution, 3300);
  EXPECT_EQ(pdf.properties.pixels_per_inch_x, 300);
  PrinterInfo found;
  EXPECT_TRUE(FindPrinter("PDF", &found));
  EXPECT_FALSE(FindPrinter("No Such Printer", &found));
}

TEST_F(PrintingTest, AJobWritesEveryPageIntoThePdf) {
  std::string path = (directory_ / "visits.pdf").string();
  std::string error;
  auto job = PrintJob::Begin(DefaultPrinter(), "Daily Visit Log", path, &error);
  ASSERT_TRUE(job) << error;
  for (int page = 1; page <= 3; ++page) {
    DeviceContext* dc = job->StartPage();
    ASSERT_TRUE(dc);
    FontSpec font;
    font.face = "Arial";
    font.points = 12;
    dc->SetFont(font);
    // 12 points at 300 per inch are 50 printer pixels of em, a little more of line.
    EXPECT_NEAR(dc->Metrics().height, 12 * 300 / 72 * 1.15, 12);
    dc->TextOut(Point{300, 300}, "Page " + std::to_string(page));
    dc->SetPen(Color{0, 0, 0}, 3);
    dc->SetNoBrush();
    dc->Rectangle(Rect{150, 150, 2400, 3150});
    job->EndPage();
  }
  EXPECT_EQ(job->PageCount(), 3);
  ASSERT_TRUE(job->End(&error)) << error;
  std::string pdf = ReadFile(path);
  EXPECT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
  EXPECT_EQ(CountPages(pdf), 3);
  EXPECT_NE(pdf.find("/MediaBox [ 0 0 612 792 ]"), std::string::npos);
  EXPECT_FALSE(job->End(&error));
}

TEST_F(PrintingTest, ThePdfPrinterNamesTheFileAfterTheDocumentWithoutOverwriting) {
  auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(directory_);
  std::string error;
  for (int i = 0; i < 2; ++i) {
    auto job = PrintJob::Begin(DefaultPrinter(), "Plan/of Care", "", &error);
    ASSERT_TRUE(job) << error;
    job->StartPage();
    ASSERT_TRUE(job->End(&error)) << error;
  }
  EXPECT_TRUE(std::filesystem::exists(directory_ / "Plan_of Care.pdf"));
  EXPECT_TRUE(std::filesystem::exists(directory_ / "Plan_of Care (2).pdf"));
  std::filesystem::current_path(cwd);
}

TEST_F(PrintingTest, AnAbortedJobLeavesNoFileAndAnUnwritablePathFails) {
  std::string path = (directory_ / "aborted.pdf").string();
  std::string error;
  {
    auto job = PrintJob::Begin(DefaultPrinter(), "x", path, &error);
    ASSERT_TRUE(job);
    job->StartPage();
  }  // dropped without End
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(PrintJob::Begin(DefaultPrinter(), "x", "/nonexistent/dir/x.pdf", &error));
  EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
}

TEST(PrinterValues, MediaSizesAndResolutions) {
  double w, h;
  ASSERT_TRUE(ParseMediaSize("na_letter_8.5x11in", &w, &h));
  EXPECT_DOUBLE_EQ(w, 8.5);
  EXPECT_DOUBLE_EQ(h, 11);
  ASSERT_TRUE(ParseMediaSize("iso_a4_210x297mm", &w, &h));
  EXPECT_NEAR(w, 8.27, 0.01);
  EXPECT_NEAR(h, 11.69, 0.01);
  ASSERT_TRUE(ParseMediaSize("8.5x14in", &w, &h));
  EXPECT_DOUBLE_EQ(h, 14);
  for (const char* bad : {"", "letter", "na_letter_8.5x11", "x11in", "8.5xin", "0x0in",
                          "99999999999x1in", "8.5x11cm"}) {
    EXPECT_FALSE(ParseMediaSize(bad, &w, &h)) << bad;
  }
  int x, y;
  ASSERT_TRUE(ParseResolution("600dpi", &x, &y));
  EXPECT_EQ(x, 600);
  EXPECT_EQ(y, 600);
  ASSERT_TRUE(ParseResolution("600x300dpi", &x, &y));
  EXPECT_EQ(y, 300);
  for (const char* bad : {"", "dpi", "600", "600dpcm", "10dpi", "600x"}) {
    EXPECT_FALSE(ParseResolution(bad, &x, &y)) << bad;
  }
}

}  // namespace
}  // namespace carelog::host
