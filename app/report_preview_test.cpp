// The report preview through its real windows, headless: a report recorded by the engine in
// preview mode, the preview driven by automation as a user would, and what reaches the
// printer afterwards.
#include "app/report_preview.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

#include "app/app_testing.h"
#include "app/procedure_globals.h"
#include "runtime/host/automation.h"
#include "runtime/host/input.h"
#include "runtime/host/printing.h"
#include "runtime/report/page_image.h"
#include "runtime/window/image_scroll.h"
#include "runtime/window/use_table.h"
#include "runtime/window/window_testing.h"
#include "tools/defc/text_parser.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using std::chrono::milliseconds;

constexpr const char* kReportModule = "test.cpp$previewtest";

// One page per band: the band finishes its page.
constexpr const char* kReportText = R"(module "test.cpp$previewtest"
report "PAGES$REPORT"
  units inch1000
  at 500 500 7500 10000
  font "Arial" 10
  title "Preview Pages"
  form at 0 0 7500 10000
    box at 0 0 7500 10000
  end
  detail id 2 at 0 0 7500 2000 attr 0x2
    varstring @s20 id 10 at 500 500 6000 1200 use string 20 font "Arial" 48
    box at 500 1800 6500 100 fill 0x0
  end
end
)";

std::vector<window::Entry> ReportStructures() {
  window::Module module;
  defc::ParseError error;
  EXPECT_TRUE(defc::ParseModule(kReportText, &module, &error)) << error.message;
  return module.structures;
}

template <typename Condition>
bool WaitUntil(Condition condition, milliseconds timeout = milliseconds(10000)) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(milliseconds(5));
  }
  return true;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// Preview controls by equate.
constexpr int kPrint = 2, kZoom = 3, kPrevious = 4, kNext = 5, kJump = 6, kFacing = 7;
constexpr int kSingleImage = 9, kLeftImage = 12, kRightImage = 15, kZoomImage = 18;
constexpr int kLeftRegion = 13, kSingleRegion = 10, kZoomRegion = 19;

class ReportPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(report::SetPrinter(host::kPdfPrinterName));
    pdf_ = directory_.path() / "printed.pdf";
    report::SetPrintOutput(pdf_.string());
  }
  void TearDown() override {
    if (program_) Finish();
    report::SetPrintOutput("");
    EXPECT_TRUE(wt::FatalErrors::Seen().empty())
        << ::testing::PrintToString(wt::FatalErrors::Seen());
  }

  // Records `pages` pages and previews them the way a report ends: a print from the preview
  // flushes the recorded pages when the report closes.
  void Start(int pages, int unreadable_page = 0) {
    program_ = std::make_unique<wt::Program>([this, pages, unreadable_page] {
      char text[20];
      window::Structure page_report(window::StructureKind::kReport, "PAGES$REPORT", kReportModule,
                                    window::UseTable{window::use::String(10, text)});
      report::SetReportOptions(page_report, report::ReportOptions{.preview = true});
      if (!report::OpenReport(page_report)) return;
      for (int i = 1; i <= pages; ++i) {
        std::memset(text, ' ', sizeof text);
        std::string shown = "Page " + std::to_string(i);
        std::memcpy(text, shown.data(), shown.size());
        report::PrintBand(page_report, 2);
      }
      queue_ = report::PreviewQueueOf(page_report);
      if (unreadable_page > 0) std::ofstream(queue_[unreadable_page - 1]) << "not a page";
      response_ = ReportPreview(report::PreviewQueueOf(page_report));
      if (response_ == kRespCompleted) {
        report::ReportOptions options = report::GetReportOptions(page_report);
        options.flush_preview = true;
        report::SetReportOptions(page_report, options);
      }
      report::CloseReport(page_report);
      report::PreviewQueue queue = report::TakePreviewQueue(page_report);
      report::FreePreviewQueue(&queue);
    });
    ASSERT_TRUE(WaitUntil([&] { return automation_.CurrentTitle() == "Print Preview"; }));
    ASSERT_TRUE(automation_.WaitIdle().ok);
  }
  void Finish() {
    // A test that leaves the preview open closes it as a user would.
    while (!automation_.Windows().empty()) {
      automation_.Key("Escape");
      automation_.WaitIdle();
    }
    program_->Join();
    program_.reset();
  }

  host::ControlInfo Control(int equate) { return wt::ControlInfoOf(equate); }
  std::string Zone(int zone) {
    host::ControlInfo info;
    automation_.FindControl("zone" + std::to_string(zone), false, &info);
    return info.text;
  }
  // The page an image shows (0 when hidden), by its page file's place in the queue.
  int PageOf(int image) {
    host::ControlInfo info = Control(image);
    if (!info.visible) return 0;
    std::string file = wt::Property(info, "image");
    for (size_t i = 0; i < queue_.size(); ++i) {
      if (queue_[i] == file) return static_cast<int>(i + 1);
    }
    return -1;
  }
  void Click(int equate) {
    ASSERT_TRUE(automation_.Click(std::to_string(equate), false).ok) << equate;
    ASSERT_TRUE(automation_.WaitIdle().ok) << ::testing::PrintToString(wt::FatalErrors::Seen());
  }
  void Key(const std::string& key) {
    ASSERT_TRUE(automation_.Key(key).ok) << key;
    ASSERT_TRUE(automation_.WaitIdle().ok);
  }
  void JumpTo(const std::string& page) {
    Click(kJump);
    ASSERT_EQ(automation_.CurrentTitle(), "Jump to a Report Page");
    ASSERT_TRUE(automation_.Type(page).ok);
    Click(2);
    ASSERT_EQ(automation_.CurrentTitle(), "Print Preview") << automation_.Dump();
  }

  wt::FatalErrors fatal_;
  testing::TempWorkingDirectory directory_;
  wt::Definitions definitions_{ReportStructures(), kReportModule};
  host::Automation automation_;
  std::unique_ptr<wt::Program> program_;
  std::filesystem::path pdf_;
  report::PreviewQueue queue_;
  int response_ = 0;
};

TEST_F(ReportPreviewTest, OnePageDisablesPreviousNextAndFacing) {
  Start(1);
  EXPECT_EQ(Zone(3), "Single Page");
  EXPECT_EQ(Zone(4), "Page 1 of 1");
  EXPECT_FALSE(Control(kPrevious).enabled);
  EXPECT_FALSE(Control(kNext).enabled);
  EXPECT_FALSE(Control(kFacing).enabled);
  EXPECT_EQ(PageOf(kSingleImage), 1);
  EXPECT_EQ(Control(kZoom).text, "&Zoom In!");
  EXPECT_EQ(wt::Property(Control(kPrint), "tip"), "Print this report");
  Key("Escape");
  Finish();
  EXPECT_EQ(response_, kRespCancelled);
}

TEST_F(ReportPreviewTest, FacingPagesOfFiveStartWithPageOneAloneOnTheRight) {
  Start(5);
  Click(kFacing);
  EXPECT_EQ(Zone(3), "Facing Pages");
  EXPECT_EQ(Zone(4), "Page 1 of 5");
  EXPECT_EQ(PageOf(kLeftImage), 0);
  EXPECT_EQ(PageOf(kRightImage), 1);
  EXPECT_EQ(PageOf(kSingleImage), 0);
  EXPECT_EQ(Control(kFacing).text, "&Single Pages!");
  EXPECT_EQ(wt::Property(Control(kFacing), "tip"), "View the report one page at a time");
  Click(kNext);
  EXPECT_EQ(Zone(4), "Pages 2 and 3 of 5");
  EXPECT_EQ(PageOf(kLeftImage), 2);
  EXPECT_EQ(PageOf(kRightImage), 3);
  Key("PageDown");
  EXPECT_EQ(Zone(4), "Pages 4 and 5 of 5");
  EXPECT_FALSE(Control(kNext).enabled);
  Key("PageUp");
  EXPECT_EQ(Zone(4), "Pages 2 and 3 of 5");
  Click(kFacing);
  EXPECT_EQ(Zone(4), "Page 3 of 5");
  EXPECT_EQ(PageOf(kSingleImage), 3);
}

TEST_F(ReportPreviewTest, FourPagesShowTheLastAloneOnTheLeftAndSinglePagesKeepIt) {
  Start(4);
  Click(kFacing);
  Key("End");
  EXPECT_EQ(Zone(4), "Page 4 of 4");
  EXPECT_EQ(PageOf(kLeftImage), 4);
  EXPECT_EQ(PageOf(kRightImage), 0);
  EXPECT_FALSE(Control(kNext).enabled);
  Click(kFacing);
  EXPECT_EQ(Zone(4), "Page 4 of 4");
  EXPECT_EQ(PageOf(kSingleImage), 4);
  Key("Home");
  EXPECT_EQ(Zone(4), "Page 1 of 4");
  EXPECT_FALSE(Control(kPrevious).enabled);
}

TEST_F(ReportPreviewTest, ZoomFromFacingPagesReturnsToTheSamePair) {
  Start(5);
  Click(kFacing);
  Click(kNext);
  Click(kLeftRegion);  // the left-hand page is zoomed
  EXPECT_EQ(Zone(2), "ZOOM");
  EXPECT_EQ(Zone(3), "Single Page");
  EXPECT_EQ(Zone(4), "Page 2 of 5");
  EXPECT_EQ(PageOf(kZoomImage), 2);
  EXPECT_EQ(PageOf(kLeftImage), 0);
  EXPECT_FALSE(Control(kFacing).enabled);
  EXPECT_EQ(Control(kZoom).text, "&Zoom Out!");
  EXPECT_EQ(wt::Property(Control(kZoom), "tip"), "Zoom out to facing page mode");
  Key("Down");
  Click(kZoom);
  EXPECT_EQ(Zone(2), "");
  EXPECT_EQ(Zone(4), "Pages 2 and 3 of 5");
  EXPECT_EQ(Control(kZoom).text, "&Zoom In!");
  EXPECT_TRUE(Control(kFacing).enabled);
}

TEST_F(ReportPreviewTest, ClickingTheSinglePageZoomsItAndZoomOutReturnsToSinglePages) {
  Start(3);
  Click(kSingleRegion);
  EXPECT_EQ(wt::Property(Control(kZoom), "tip"), "Zoom out to full page mode");
  EXPECT_EQ(PageOf(kZoomImage), 1);
  Click(kZoom);
  EXPECT_EQ(Zone(3), "Single Page");
  EXPECT_EQ(PageOf(kSingleImage), 1);
}

TEST_F(ReportPreviewTest, JumpShowsThePageInSingleModeAndItsPairInFacingMode) {
  Start(5);
  JumpTo("3");
  EXPECT_EQ(Zone(4), "Page 3 of 5");
  EXPECT_EQ(PageOf(kSingleImage), 3);
  Click(kFacing);  // page 3 is odd: the pair 2 and 3
  JumpTo("1");
  JumpTo("3");
  EXPECT_EQ(Zone(4), "Pages 2 and 3 of 5");
  JumpTo("0");  // limited to the first page
  EXPECT_EQ(Zone(4), "Page 1 of 5");
  JumpTo("99");  // and to the last
  EXPECT_EQ(Zone(4), "Pages 4 and 5 of 5");
  Click(kJump);
  ASSERT_TRUE(automation_.Type("1").ok);
  Click(3);  // cancel leaves the pages as they were
  EXPECT_EQ(Zone(4), "Pages 4 and 5 of 5");
}

TEST_F(ReportPreviewTest, CancelAfterBrowsingEveryPagePrintsNothing) {
  Start(3);
  Click(kNext);
  Click(kNext);
  Click(1);
  Finish();
  EXPECT_EQ(response_, kRespCancelled);
  EXPECT_FALSE(std::filesystem::exists(pdf_));
}

TEST_F(ReportPreviewTest, PrintFromThePreviewPrintsExactlyTheRecordedPages) {
  Start(3);
  Click(kNext);
  Key("Ctrl+P");
  Finish();
  EXPECT_EQ(response_, kRespCompleted);
  ASSERT_TRUE(std::filesystem::exists(pdf_));
  std::string text_file = (directory_.path() / "printed.txt").string();
  std::string command = "pdftotext -layout '" + pdf_.string() + "' '" + text_file + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) GTEST_SKIP() << "pdftotext is not installed";
  std::string text = ReadFile(text_file);
  size_t one = text.find("Page 1"), two = text.find("Page 2"), three = text.find("Page 3");
  ASSERT_NE(three, std::string::npos) << text;
  EXPECT_LT(one, two);
  EXPECT_LT(two, three);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 3);
}

TEST_F(ReportPreviewTest, AnUnreadablePageShowsAsAMarkedEmptyPageAndThePreviewGoesOn) {
  Start(3, 2);
  Click(kNext);
  EXPECT_EQ(Zone(4), "Page 2 of 3");
  EXPECT_EQ(PageOf(kSingleImage), 2);
  Click(kNext);
  EXPECT_EQ(Zone(4), "Page 3 of 3");
}

// The zoomed page is larger than its display both ways: its scroll bars, the wheel (Shift for
// across) and the arrow keys move it, never past the page's edges; a press on the page
// itself still zooms out.
TEST_F(ReportPreviewTest, TheZoomedPageScrollsWithItsBarsTheWheelAndTheKeys) {
  Start(2);
  Click(kZoom);
  host::WindowId window = automation_.Windows().front().window;
  auto scroll = [&] {
    std::string text = wt::Property(Control(kZoomImage), "scroll");
    size_t comma = text.find(',');
    return host::Point{std::atoi(text.substr(0, comma).c_str()),
                       std::atoi(text.substr(comma + 1).c_str())};
  };
  auto idle = [&] { ASSERT_TRUE(automation_.WaitIdle().ok); };
  std::string rect = wt::Property(Control(kZoomImage), "rect");
  int left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(std::sscanf(rect.c_str(), "%d,%d,%d,%d", &left, &top, &width, &height), 4);
  host::Point middle{left + width / 2, top + height / 2};
  ASSERT_EQ(scroll(), (host::Point{0, 0}));

  host::InjectMouseWheel(window, middle, -2);  // two notches down
  idle();
  EXPECT_EQ(scroll(), (host::Point{0, 2 * window::kImageWheelStep}));
  host::InjectMouseWheel(window, middle, 5);  // past the top: stops there
  idle();
  EXPECT_EQ(scroll(), (host::Point{0, 0}));
  host::InjectKey(0x10, true);  // Shift turns the wheel sideways
  host::InjectMouseWheel(window, middle, -1);
  host::InjectKey(0x10, false);
  idle();
  EXPECT_GT(scroll().x, 0);
  EXPECT_EQ(scroll().y, 0);

  // The vertical bar: its lower arrow moves a line, its track below the thumb a view's worth.
  int bar_x = left + width - window::kImageBarSize / 2;
  int bar_bottom = top + height - window::kImageBarSize;
  host::InjectMouseButton(window, {bar_x, bar_bottom - 4}, host::MouseButton::kLeft, true);
  host::InjectMouseButton(window, {bar_x, bar_bottom - 4}, host::MouseButton::kLeft, false);
  idle();
  EXPECT_EQ(scroll().y, window::kImageLineStep);
  host::InjectMouseButton(window, {bar_x, bar_bottom - 30}, host::MouseButton::kLeft, true);
  host::InjectMouseButton(window, {bar_x, bar_bottom - 30}, host::MouseButton::kLeft, false);
  idle();
  EXPECT_GT(scroll().y, window::kImageLineStep + window::kImageLineStep);
  EXPECT_EQ(Zone(2), "ZOOM");  // the bar is not the page: still zoomed

  for (int i = 0; i < 40; ++i) Key("Down");  // the foot of the page is as far as it goes
  int foot = scroll().y;
  Key("Down");
  EXPECT_EQ(scroll().y, foot);
  Key("Left");
  Key("Left");
  Key("Left");
  EXPECT_EQ(scroll().x, 0);

  Click(kZoomRegion);  // a click on the page zooms out
  EXPECT_EQ(Zone(2), "");
  EXPECT_EQ(PageOf(kSingleImage), 1);
  Click(kZoom);  // zoomed again, a new page shows from its top left
  Key("PageDown");
  EXPECT_EQ(PageOf(kZoomImage), 2);
  EXPECT_EQ(scroll(), (host::Point{0, 0}));
}

// The thumb of the zoomed page's bar follows the mouse while it is held: dragged down the bar
// the page scrolls by its share of the track, dragged past the end it stops at the foot, back
// up past the start at the top; once let go, the mouse moves nothing.
TEST_F(ReportPreviewTest, DraggingTheZoomedPagesThumbScrollsThePage) {
  Start(2);
  Click(kZoom);
  host::WindowId window = automation_.Windows().front().window;
  auto scroll_y = [&] {
    std::string text = wt::Property(Control(kZoomImage), "scroll");
    return std::atoi(text.substr(text.find(',') + 1).c_str());
  };
  auto idle = [&] { ASSERT_TRUE(automation_.WaitIdle().ok); };
  std::string rect = wt::Property(Control(kZoomImage), "rect");
  int left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(std::sscanf(rect.c_str(), "%d,%d,%d,%d", &left, &top, &width, &height), 4);
  for (int i = 0; i < 60; ++i) Key("Down");
  int foot = scroll_y();
  ASSERT_GT(foot, 0);
  host::InjectMouseWheel(window, {left + width / 2, top + height / 2}, 100);
  idle();
  ASSERT_EQ(scroll_y(), 0);

  int bar_x = left + width - window::kImageBarSize / 2;
  host::Point thumb{bar_x, top + window::kImageBarSize + 4};  // just below the upper arrow
  host::InjectMouseButton(window, thumb, host::MouseButton::kLeft, true);
  idle();
  EXPECT_EQ(scroll_y(), 0) << "a press on the thumb does not step";
  host::InjectMouseMove(window, {bar_x, thumb.y + 20});
  idle();
  int twenty = scroll_y();
  EXPECT_GT(twenty, 20) << "the page is taller than the track";
  host::InjectMouseMove(window, {bar_x, thumb.y + 40});
  idle();
  EXPECT_NEAR(scroll_y(), 2 * twenty, 2);
  host::InjectMouseMove(window, {bar_x + 200, top + height + 400});  // off the bar and below
  idle();
  EXPECT_EQ(scroll_y(), foot);
  host::InjectMouseMove(window, {bar_x, top - 50});
  idle();
  EXPECT_EQ(scroll_y(), 0);
  host::InjectMouseMove(window, {bar_x, thumb.y + 20});
  host::InjectMouseButton(window, {bar_x, thumb.y + 20}, host::MouseButton::kLeft, false);
  idle();
  EXPECT_EQ(scroll_y(), twenty);
  host::InjectMouseMove(window, {bar_x, thumb.y + 60});
  idle();
  EXPECT_EQ(scroll_y(), twenty) << "the released thumb stays";
  EXPECT_EQ(Zone(2), "ZOOM");
}

// With CARELOG_SCREENSHOTS set to a directory, pictures of every mode are written there.
TEST_F(ReportPreviewTest, ScreenshotsOfEveryMode) {
  const char* directory = std::getenv("CARELOG_SCREENSHOTS");
  if (!directory) GTEST_SKIP() << "CARELOG_SCREENSHOTS is not set";
  std::filesystem::path out(directory);
  Start(5, 5);
  ASSERT_TRUE(automation_.Screenshot((out / "preview_single.png").string()).ok);
  Click(kFacing);
  Click(kNext);
  ASSERT_TRUE(automation_.Screenshot((out / "preview_facing.png").string()).ok);
  Click(kZoom);
  Key("Down");
  ASSERT_TRUE(automation_.Screenshot((out / "preview_zoom.png").string()).ok);
  Click(kZoom);
  Click(kNext);
  ASSERT_TRUE(automation_.Screenshot((out / "preview_unreadable_page.png").string()).ok);
  Click(kJump);
  ASSERT_TRUE(automation_.Screenshot((out / "preview_jump.png").string()).ok);
}

TEST(PagePlacement, FittedPagesKeepTheirAspectAndZoomedPagesScaleWithTheirDisplay) {
  host::Rect fitted = report::FittedPage(8500, 11000, host::Rect{0, 0, 400, 400});
  EXPECT_EQ(fitted.Height(), 392);
  EXPECT_NEAR(fitted.Width(), 392 * 8500 / 11000, 1);
  EXPECT_EQ(fitted.left, (400 - fitted.Width()) / 2);
  host::Rect landscape = report::FittedPage(11000, 8500, host::Rect{0, 0, 400, 400});
  EXPECT_EQ(landscape.Width(), 392);
  EXPECT_EQ(landscape.top, (400 - landscape.Height()) / 2);
  host::Size zoomed = report::ZoomedPageSize(8500, 11000, 400, 150);
  EXPECT_EQ(zoomed.width, 600);
  EXPECT_NEAR(zoomed.height, 600 * 11000 / 8500, 1);
  // A page file with no frame still gets a letter page's shape rather than a zero height.
  EXPECT_GT(report::ZoomedPageSize(0, 0, 400, 100).height, 400);
}

}  // namespace
}  // namespace carelog::app
