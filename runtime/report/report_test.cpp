// The report engine through report structures opened from definitions: pagination rules,
// page files of previewed reports, page ranges, errors, and printing to the PDF printer.
#include "runtime/report/report.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "runtime/host/printing.h"
#include "runtime/report/metafile.h"
#include "runtime/window/window_testing.h"
#include "tools/defc/text_parser.h"

namespace carelog::report {
namespace {

using window::testing::FatalErrors;

// Body 10000 high, header and footer 1000 each: the detail bands may take 8000, four of 2000.
constexpr const char* kDefinitions = R"(module "test.cpp$wintest"
report "LOG$REPORT"
  units inch1000
  at 500 500 7500 10000
  font "Arial" 10
  title "Visit Log"
  header at 0 0 7500 1000
    string "Agency" at 0 0 3000 200
    string "page" at 6000 0 1000 200 attr 0x200
  end
  footer at 0 0 7500 1000
    string "Legend" at 0 0 3000 200
  end
  form at 0 0 7500 10000
    box at 0 0 7500 10000
  end
  detail id 2 at 0 0 7500 2000
    varstring @s20 id 10 at 0 0 3000 200 use string 20
    line at 0 1900 7500 0
    box at 4000 0 3000 1500 fill 0xEEEEEE
  end
  detail id 3 at 0 0 7500 9000
    string "TALL" at 0 0 3000 200
  end
  detail id 4 at 0 0 7500 2000 keep 1
    string "KEPT" at 0 0 3000 200
  end
  detail id 5 at 0 0 7500 1000 pagebefore 7
    string "SEVEN" at 0 0 3000 200
  end
  detail id 6 at 0 0 7500 1000 attr 0x2
    string "LAST" at 0 0 3000 200
  end
  detail id 7 at 0 0 7500 -
    textbox id 11 at 0 0 1500 200 use string 200
    check "&Male" id 12 at 3000 0 1000 200 use byte
  end
end
window "PLAIN$WINDOW"
  at 0 0 100 100
end
)";

std::vector<window::Entry> Structures() {
  window::Module module;
  defc::ParseError error;
  EXPECT_TRUE(defc::ParseModule(kDefinitions, &module, &error)) << error.line << ": " << error.message;
  return module.structures;
}

// The texts of a page file, in drawing order.
std::vector<std::string> TextsOf(const std::string& path) {
  DrawList page;
  PageFrame frame;
  std::string error;
  EXPECT_TRUE(ReadPageFile(path, &page, &frame, &error)) << error;
  std::vector<std::string> texts;
  for (const DrawOp& op : page.ops()) {
    if (op.code == DrawCode::kText) texts.push_back(op.text);
  }
  return texts;
}

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SetPrinter(host::kPdfPrinterName));
    std::memset(name_, ' ', sizeof name_);
    std::memset(memo_, ' ', sizeof memo_);
    directory_ = std::filesystem::temp_directory_path() /
                 ("carelog-report-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(directory_);
  }
  void TearDown() override {
    if (IsReportOpen(report_)) CloseReport(report_);
    PreviewQueue queue = TakePreviewQueue(report_);
    FreePreviewQueue(&queue);
    SetPrintOutput("");
    std::filesystem::remove_all(directory_);
  }
  void Name(const std::string& text) {
    std::memset(name_, ' ', sizeof name_);
    std::memcpy(name_, text.data(), std::min(text.size(), sizeof name_));
  }
  void Memo(const std::string& text) {
    std::memset(memo_, ' ', sizeof memo_);
    std::memcpy(memo_, text.data(), std::min(text.size(), sizeof memo_));
  }
  void OpenPreview(ReportOptions options = {}) {
    options.preview = true;
    SetReportOptions(report_, options);
    ASSERT_TRUE(OpenReport(report_));
  }
  // Closes the report and returns the texts of each recorded page.
  std::vector<std::vector<std::string>> ClosePages() {
    EXPECT_TRUE(CloseReport(report_));
    std::vector<std::vector<std::string>> pages;
    for (const std::string& path : PreviewQueueOf(report_)) pages.push_back(TextsOf(path));
    return pages;
  }
  static int Count(const std::vector<std::string>& texts, const std::string& text) {
    return static_cast<int>(std::count(texts.begin(), texts.end(), text));
  }

  window::testing::Definitions definitions_{Structures()};
  char name_[20];
  char memo_[200];
  uint8_t male_ = 0;
  window::Structure report_{window::StructureKind::kReport, "LOG$REPORT", window::testing::kModule,
                            window::UseTable{window::use::String(10, name_),
                                             window::use::String(11, memo_),
                                             window::use::Byte(12, &male_)}};
  std::filesystem::path directory_;
};

TEST_F(ReportTest, BandsThatExactlyFillTheBodySendTheNextBandToANewPage) {
  OpenPreview();
  for (int i = 1; i <= 5; ++i) {
    Name("Patient " + std::to_string(i));
    ASSERT_TRUE(PrintBand(report_, 2));
    EXPECT_EQ(PagesFinished(report_), i <= 4 ? 0 : 1) << i;
  }
  auto pages = ClosePages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0], (std::vector<std::string>{"Agency", "1", "Patient 1", "Patient 2",
                                                "Patient 3", "Patient 4", "Legend"}));
  EXPECT_EQ(pages[1], (std::vector<std::string>{"Agency", "2", "Patient 5", "Legend"}));
}

TEST_F(ReportTest, ABandTallerThanTheBodyGetsAPageOfItsOwn) {
  OpenPreview();
  Name("Before");
  PrintBand(report_, 2);
  PrintBand(report_, 3);
  Name("After");
  PrintBand(report_, 2);
  auto pages = ClosePages();
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(Count(pages[0], "Before"), 1);
  EXPECT_EQ(Count(pages[1], "TALL"), 1);
  EXPECT_EQ(pages[1].size(), 4u);  // header texts, the tall band, the footer
  EXPECT_EQ(Count(pages[2], "After"), 1);
}

TEST_F(ReportTest, ThreePreviewedPagesLeaveThreeVerifiedPageFiles) {
  OpenPreview();
  for (int i = 0; i < 12; ++i) PrintBand(report_, 2);
  EXPECT_TRUE(CloseReport(report_));
  PreviewQueue queue = TakePreviewQueue(report_);
  ASSERT_EQ(queue.size(), 3u);
  for (const std::string& path : queue) {
    EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("TAM", 0), 0u);
    std::ifstream file(path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GE(b.size(), 22u);
    auto word = [&](int i) { return static_cast<uint16_t>(b[2 * i] | (b[2 * i + 1] << 8)); };
    EXPECT_EQ(word(0) | (word(1) << 16), 0x9AC6CDD7u);
    uint16_t sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= word(i);
    EXPECT_EQ(sum, word(10));
    EXPECT_EQ(word(5), 2550);  // the PDF printer: letter at 300 per inch
    EXPECT_EQ(word(6), 3300);
    EXPECT_EQ(word(7), 300);
  }
  FreePreviewQueue(&queue);
  EXPECT_TRUE(queue.empty());
}

TEST_F(ReportTest, APageRangeRecordsOnlyItsPagesWithTheirOwnNumbers) {
  OpenPreview(ReportOptions{.range = true, .first_page = 2, .last_page = 2});
  for (int i = 1; i <= 12; ++i) {
    Name("P" + std::to_string(i));
    PrintBand(report_, 2);
  }
  auto pages = ClosePages();
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0], (std::vector<std::string>{"Agency", "2", "P5", "P6", "P7", "P8", "Legend"}));
}

TEST_F(ReportTest, AKeptBandGoesToTheNextPageWithTheBandAfterIt) {
  OpenPreview();
  for (int i = 1; i <= 3; ++i) {
    Name("P" + std::to_string(i));
    PrintBand(report_, 2);
  }
  PrintBand(report_, 4);  // fits, but must stay with the next one
  Name("P4");
  PrintBand(report_, 2);
  auto pages = ClosePages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(Count(pages[0], "KEPT"), 0);
  EXPECT_EQ(Count(pages[0], "P3"), 1);
  EXPECT_EQ(pages[1], (std::vector<std::string>{"Agency", "2", "KEPT", "P4", "Legend"}));
}

TEST_F(ReportTest, PageBreaksAndNumbersThatBandsAskFor) {
  OpenPreview();
  Name("first");
  PrintBand(report_, 2);
  PrintBand(report_, 5);  // a new page numbered 7
  EXPECT_EQ(PageNumber(report_), 7);
  PrintBand(report_, 6);  // finishes its page after it
  EXPECT_EQ(PageNumber(report_), 8);
  EXPECT_TRUE(EndPage(report_));  // nothing on the page: no empty page
  auto pages = ClosePages();
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0][1], "1");
  EXPECT_EQ(pages[1], (std::vector<std::string>{"Agency", "7", "SEVEN", "LAST", "Legend"}));
}

TEST_F(ReportTest, MemosWrapAndGrowTheirBandAndCheckBoxesShowTheirState) {
  OpenPreview();
  Memo("Wound dressed and patient instructed about the new medication schedule today");
  male_ = 1;
  PrintBand(report_, 7);
  EndPage(report_);
  EXPECT_EQ(PagesFinished(report_), 1);
  auto pages = ClosePages();
  ASSERT_EQ(pages.size(), 1u);
  // The memo's words, in order, over several lines, each narrower than its box.
  std::string joined;
  int memo_lines = 0;
  for (const std::string& t : pages[0]) {
    if (t == "Agency" || t == "1" || t == "Legend" || t == "Male") continue;
    joined += (joined.empty() ? "" : " ") + t;
    ++memo_lines;
  }
  EXPECT_EQ(joined, "Wound dressed and patient instructed about the new medication schedule today");
  EXPECT_GE(memo_lines, 3);
  EXPECT_EQ(Count(pages[0], "Male"), 1);
}

TEST_F(ReportTest, TheReportErrorsGoThroughTheFatalPath) {
  FatalErrors errors;
  OpenPreview();
  EXPECT_FALSE(OpenReport(report_));
  window::Structure plain(window::StructureKind::kWindow, "PLAIN$WINDOW", window::testing::kModule, {});
  EXPECT_FALSE(PrintBand(plain, 2));
  EXPECT_FALSE(EndPage(plain));
  EXPECT_EQ(errors.Seen(), (std::vector<int>{525, 538, 539}));
  EXPECT_EQ(window::RuntimeMessage(525), "Report is already open");
  EXPECT_EQ(window::RuntimeMessage(538), "PRINT must only be called for reports");
  EXPECT_EQ(window::RuntimeMessage(539), "ENDPAGE must only be called for reports");
  EXPECT_EQ(window::RuntimeMessage(523), "Metafile record too large in report");
  EXPECT_EQ(window::RuntimeMessage(524), "Unexpected error opening printer device");
}

int CountPdfPages(const std::string& pdf) {
  int pages = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos; at = pdf.find("/Type /Page", at + 1)) {
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  }
  return pages;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The text of a PDF as poppler reads it; empty when the tool is missing.
std::string PdfText(const std::filesystem::path& pdf) {
  std::filesystem::path text = pdf;
  text.replace_extension(".txt");
  std::string command = "pdftotext -layout '" + pdf.string() + "' '" + text.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return "";
  return ReadFile(text);
}

TEST_F(ReportTest, PrintingToThePdfPrinterWritesEveryPageWithItsTexts) {
  std::filesystem::path pdf = directory_ / "log.pdf";
  SetPrintOutput(pdf.string());
  SetReportOptions(report_, ReportOptions{});
  ASSERT_TRUE(OpenReport(report_));
  for (int i = 1; i <= 6; ++i) {
    Name("Visit " + std::to_string(i));
    PrintBand(report_, 2);
  }
  ASSERT_TRUE(CloseReport(report_));
  EXPECT_TRUE(PreviewQueueOf(report_).empty());
  std::string bytes = ReadFile(pdf);
  EXPECT_EQ(CountPdfPages(bytes), 2);
  EXPECT_NE(bytes.find("/MediaBox [ 0 0 612 792 ]"), std::string::npos);
  EXPECT_NE(bytes.find("Visit Log"), std::string::npos);  // the document's title
  std::string text = PdfText(pdf);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const char* t : {"Agency", "Legend", "Visit 1", "Visit 4", "Visit 6"}) {
    EXPECT_NE(text.find(t), std::string::npos) << t;
  }
  EXPECT_LT(text.find("Visit 4"), text.find('\f'));  // page 1 ends after the fourth visit
}

TEST_F(ReportTest, FlushedPreviewPrintsExactlyTheRecordedPages) {
  std::filesystem::path pdf = directory_ / "flushed.pdf";
  SetPrintOutput(pdf.string());
  OpenPreview();
  for (int i = 1; i <= 9; ++i) {
    Name("Visit " + std::to_string(i));
    PrintBand(report_, 2);
  }
  EXPECT_FALSE(std::filesystem::exists(pdf));  // nothing printed while previewing
  ReportOptions options = GetReportOptions(report_);
  options.flush_preview = true;
  SetReportOptions(report_, options);
  ASSERT_TRUE(CloseReport(report_));
  EXPECT_EQ(PreviewQueueOf(report_).size(), 3u);
  EXPECT_EQ(CountPdfPages(ReadFile(pdf)), 3);
  std::string text = PdfText(pdf);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  EXPECT_NE(text.find("Visit 9"), std::string::npos);
}

TEST_F(ReportTest, AJobThatCannotStartSetsTheAbortFlagAndLeavesNoFile) {
  std::filesystem::path pdf = directory_ / "missing-folder" / "log.pdf";
  SetPrintOutput(pdf.string());
  SetReportOptions(report_, ReportOptions{});
  ASSERT_TRUE(OpenReport(report_));
  for (int i = 0; i < 6; ++i) PrintBand(report_, 2);
  EXPECT_TRUE(Aborted(report_));
  EXPECT_TRUE(CloseReport(report_));
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

}  // namespace
}  // namespace carelog::report
