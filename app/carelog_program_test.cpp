// The real executable, run headless with a script in a private working directory.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <fstream>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

#include "app/app_testing.h"
#include "app/month_grid.h"
#include "runtime/values/clock.h"
#include "runtime/values/standard_date.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class CarelogProgram : public ::testing::Test {
 protected:
  // Writes `script` to script.txt and runs the program on it with `options`.
  Outcome RunScript(const std::string& script, const std::string& options = "--headless") {
    std::ofstream(directory_.path() / "script.txt") << script;
    return RunProgram(options + " --script script.txt");
  }

  Outcome RunProgram(const std::string& arguments) {
    std::string command = std::string(CARELOG_BINARY) + " " + arguments + " >out.txt 2>err.txt";
    int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = Slurp("out.txt");
    run.err = Slurp("err.txt");
    return run;
  }

  testing::TempWorkingDirectory directory_;
};

TEST_F(CarelogProgram, AScriptDrivesTheFrameAndTheProgramEndsWithItsStatus) {
  Outcome run = RunScript(
      "expect-title \"The Care Log\"   # the frame\n"
      "dump\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("window frame \"The Care Log\" active"), std::string::npos) << run.out;
}

TEST_F(CarelogProgram, TheFrameShowsItsMenusAndTheDayInTheStatusBar) {
  Outcome wednesday = RunScript(
      "expect-text zone3 \"Wednesday, December      9, 2026\"\n"
      "expect-text zone4 \"10:30AM\"\n"
      "dump\n",
      "--headless --clock=2026-12-09T10:30");
  EXPECT_EQ(wednesday.status, 0) << wednesday.err;
  for (const char* line :
       {"-1 - menu \"&File\"", "-2 - menuitem \"&Print Setup ...\"",
        "-3 - menuitem \"&Default Font\"", "-4 - menuitem \"E&xit\"", "-10 - menu \"&Browse\"",
        "-11 - menuitem \"&Browse Patients\"", "-20 - menuitem \"BrowseDates\"",
        "0 - menu \"&Window\"", "-26 - menuitem \"&How to Use Help\""}) {
    EXPECT_NE(wednesday.out.find(line), std::string::npos) << line;
  }

  Outcome friday = RunScript("expect-text zone3 \"Friday, December     11, 2026\"\n",
                             "--headless --clock=2026-12-11T16:05");
  EXPECT_EQ(friday.status, 0) << friday.err;
}

TEST_F(CarelogProgram, ExitEndsTheProgramAndProceduresNotBuiltDoNothing) {
  // The daily visit log first asks for its day; Escape there prints nothing.
  Outcome run = RunScript(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"Close\"\n"
      "menu \"&Report\" \"Print Daily &Visit Log\"\n"
      "expect-title \"Calendar\"\n"
      "key Escape\n"
      "expect-title \"The Care Log\"\n"
      "menu \"&File\" \"E&xit\"\n"
      "wait\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err.find("script.txt:"), std::string::npos) << run.err;

  Outcome after_exit = RunScript(
      "menu \"&File\" \"E&xit\"\n"
      "wait\n"
      "expect-title \"The Care Log\"\n");
  EXPECT_EQ(after_exit.status, 1);
  EXPECT_NE(after_exit.err.find("script.txt:3: expect-title"), std::string::npos)
      << "no frame is left to have a title: " << after_exit.err;
}

TEST_F(CarelogProgram, TheDefaultFontIsSavedInTheWorkingDirectory) {
  Outcome run = RunScript(
      "menu \"&File\" \"&Default Font\"\n"
      "expect-title \"Choose default display Font\"\n"
      "click 1\n"
      "type \"Arial\"\n"
      "click 5\n"
      "type \"12\"\n"
      "click \"OK\"\n"
      "expect-title \"The Care Log\"\n");
  EXPECT_EQ(run.status, 0) << run.err;
  std::vector<testing::FontsRow> rows = testing::ReadFontsFile();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].typeface, "Arial");
  EXPECT_EQ(rows[0].size, 12);
}

TEST_F(CarelogProgram, AFailingCommandEndsTheScriptWithStatusOneAndItsLine) {
  Outcome run = RunScript(
      "wait\n"
      "expect-title \"Another Program\"\n"
      "dump\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("script.txt:2: expect-title"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "") << "the script stops at its first failure";
}

TEST_F(CarelogProgram, AMissingScriptOrABadOptionIsReported) {
  Outcome missing = RunProgram("--headless --script no-such-script.txt");
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("no-such-script.txt"), std::string::npos) << missing.err;

  for (const char* bad : {"--frobnicate", "--display=paper", "--clock=2026-02-30",
                          "--clock=2026-12-09T25:00", "--script"}) {
    SCOPED_TRACE(bad);
    Outcome run = RunProgram(std::string("--headless ") + bad);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: carelog"), std::string::npos) << run.err;
  }
}

// Width and height from a PNG file's header; {0, 0} when it is not one.
std::pair<int, int> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto word = [&](size_t at) {
    return (static_cast<uint8_t>(bytes[at]) << 24) | (static_cast<uint8_t>(bytes[at + 1]) << 16) |
           (static_cast<uint8_t>(bytes[at + 2]) << 8) | static_cast<uint8_t>(bytes[at + 3]);
  };
  return {word(16), word(20)};
}

TEST_F(CarelogProgram, TheFrameOpensMaximizedOnScreensOfEverySize) {
  for (auto [option, width, height] :
       {std::tuple{"--screen=1600x1000", 1600, 1000}, std::tuple{"--screen=800x600", 800, 600}}) {
    Outcome run = RunScript("screenshot frame.png\n", std::string("--headless ") + option);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(PngSize(Slurp("frame.png")), std::make_pair(width, height)) << option;
  }
  Outcome bad = RunProgram("--headless --screen=wide");
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("--screen"), std::string::npos) << bad.err;
}

// On a screen of scale 2 the frame covers the same logical screen; its screenshot keeps the
// logical size unless the screen's own pixels are asked for.
TEST_F(CarelogProgram, AtScaleTwoScreenshotsKeepTheLogicalSize) {
  Outcome run = RunScript("screenshot logical.png\nscreenshot device.png device\n",
                          "--headless --screen=800x600 --scale=2");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PngSize(Slurp("logical.png")), std::make_pair(800, 600));
  EXPECT_EQ(PngSize(Slurp("device.png")), std::make_pair(1600, 1200));
  Outcome wrong = RunScript("screenshot x.png huge\n", "--headless");
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("device"), std::string::npos) << wrong.err;
  for (const char* bad : {"--headless --scale=0", "--headless --scale=big"}) {
    Outcome refused = RunProgram(bad);
    EXPECT_EQ(refused.status, 2) << bad;
    EXPECT_NE(refused.err.find("--scale"), std::string::npos) << refused.err;
  }
}

}  // namespace
}  // namespace carelog::app

namespace carelog::app {
namespace {

// A nurse's first steps on sample data: the patients by last name, one patient's medications,
// scrolling, and both browses closed again.
TEST_F(CarelogProgram, BrowsingPatientsAndTheirMedications) {
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData({60, 3}, &counts, &error), 0) << error;
  Outcome run = RunScript(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "key Shift+Tab Right\n"  // the sheet, then its next tab: Last Names
      "click 3\n"
      "key Ctrl+Home\n"
      "key Down Down\n"
      "dump\n"
      "click \"Medications\"\n"
      "expect-title \"Browse the Medications File by MED:Key_Patient_Number\"\n"
      "key Down PageDown Ctrl+End\n"
      "dump\n"
      "click \"Close\"\n"
      "expect-title \"Browse the Patients File\"\n"
      "key PageDown\n"
      "click \"Close\"\n"
      "expect-title \"The Care Log\"\n");
  ASSERT_EQ(run.status, 0) << run.err;
  // By last name, the third row highlighted; the medications of that patient only.
  size_t patients = run.out.find("window mdi \"Browse the Patients File\"");
  ASSERT_NE(patients, std::string::npos) << run.out;
  size_t selected = run.out.find("row 3 selected", patients);
  ASSERT_NE(selected, std::string::npos) << run.out;
  size_t meds = run.out.find("window mdi \"Browse the Medications File");
  ASSERT_NE(meds, std::string::npos) << run.out;
  EXPECT_NE(run.out.find("header \"Patient Number\" \"Record_No\" \"Date\"", meds),
            std::string::npos);
}

// A plan of care added from the patient's plans: the browse comes back on the new plan, the
// patient's second, not on the one that was highlighted before.
TEST_F(CarelogProgram, AnInsertedRecordIsHighlightedWhenTheBrowseComesBack) {
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData({60, 3}, &counts, &error), 0) << error;
  Outcome run = RunScript(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click \"485\"\n"
      "expect-title \"Browse the POC File by POC:PatKey\"\n"
      "click \"Insert\"\n"
      "expect-title \"Record Will Be Added\"\n"
      "click \"OK\"\n"
      "expect-title \"Browse the POC File by POC:PatKey\"\n"
      "dump\n");
  ASSERT_EQ(run.status, 0) << run.err;
  size_t plans = run.out.find("window mdi \"Browse the POC File by POC:PatKey\"");
  ASSERT_NE(plans, std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\n    row 1 \"", plans), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\n    row 2 selected", plans), std::string::npos) << run.out;
}

// A browse sized larger by its user: the list grows with the window and the page is refilled
// to the rows it now shows, the highlighted patient kept; sized back, it shows its first rows.
TEST_F(CarelogProgram, ABrowseGrownWithItsWindowShowsMoreRows) {
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData({60, 3}, &counts, &error), 0) << error;
  Outcome run = RunScript(
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "key Down Down\n"
      "dump\n"
      "resize 1000 700\n"
      "dump\n"
      "key PageDown\n"
      "expect-title \"Browse the Patients File\"\n"
      "click \"Close\"\n",
      "--headless --screen=1400x900");
  ASSERT_EQ(run.status, 0) << run.err;
  auto rows_in = [&](size_t from, size_t to) {
    int rows = 0;
    for (size_t at = run.out.find("\n    row ", from); at < to;
         at = run.out.find("\n    row ", at + 1))
      ++rows;
    return rows;
  };
  size_t first = run.out.find("window mdi \"Browse the Patients File\"");
  ASSERT_NE(first, std::string::npos) << run.out;
  size_t second = run.out.find("window mdi \"Browse the Patients File\"", first + 1);
  ASSERT_NE(second, std::string::npos) << run.out;
  const int before = rows_in(first, second);
  const int after = rows_in(second, std::string::npos);
  EXPECT_GE(before, 5);
  EXPECT_GT(after, before + 10);
  EXPECT_NE(run.out.find("row 3 selected", second), std::string::npos);
}

// The patient form's tabs hold one browse box per patient file, each ranged on the patient:
// a medication's form is reached from its box, and a medication deleted there is gone from
// the file when the patient's form is opened again.
TEST_F(CarelogProgram, ThePatientFormBrowsesAndDeletesThePatientsMedications) {
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData({60, 3}, &counts, &error), 0) << error;
  const std::string to_medications = "key Shift+Tab" + [] {
    std::string keys;
    for (int tab = 1; tab < 17; ++tab) keys += " Right";
    return keys;
  }() + "\n";
  const std::string open_patient =
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click 3\n"
      "key Down Down\n"
      "click \"&Change\"\n"
      "expect-title \"Changing a Patients Record\"\n" +
      to_medications;
  Outcome run = RunScript(open_patient +
                          "dump\n"
                          "click 107\n"
                          "expect-title \"Changing a Medications Record\"\n"
                          "click \"Cancel\"\n"
                          "expect-title \"Changing a Patients Record\"\n"
                          "click 108\n"
                          "answer \"OK\"\n"
                          "dump\n"
                          "click \"Cancel\"\n"
                          "click \"Close\"\n"
                          "menu \"&File\" \"E&xit\"\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const size_t before = run.out.find("105 - list");
  ASSERT_NE(before, std::string::npos) << run.out;
  EXPECT_NE(run.out.find("header \"Date\" \"Number\" \"First Drug\"", before), std::string::npos);
  const size_t row = run.out.find("row 1 selected", before);
  ASSERT_NE(row, std::string::npos) << run.out;
  EXPECT_LT(row, run.out.find("106 - button", before)) << "the box lists the patient's medication";
  const size_t after = run.out.find("105 - list", before + 1);
  ASSERT_NE(after, std::string::npos) << run.out;
  EXPECT_EQ(run.out.find("row 1", after),
            run.out.find("row 1", run.out.find("106 - button", after)))
      << "the deleted medication left the box";
  EXPECT_NE(run.out.find("107 - button \"&Change\" visible disabled", after), std::string::npos);

  Outcome again = RunScript(open_patient +
                            "dump\nclick \"Cancel\"\nclick \"Close\"\n"
                            "menu \"&File\" \"E&xit\"\n");
  ASSERT_EQ(again.status, 0) << again.err;
  const size_t reopened = again.out.find("105 - list");
  ASSERT_NE(reopened, std::string::npos);
  EXPECT_EQ(again.out.find("row 1", reopened),
            again.out.find("row 1", again.out.find("106 - button", reopened)))
      << "the deletion reached the file";
}

// A date its picture cannot take is refused: the entry keeps the typed text and the focus, the
// form stays open, and the stored patient keeps the date it had.
TEST_F(CarelogProgram, AnEntryRefusesWhatItsPictureCannotTakeAndNothingIsWritten) {
  sample::SampleCounts counts;
  std::string error;
  ASSERT_EQ(sample::WriteSampleData({60, 3}, &counts, &error), 0) << error;
  const std::string open_patient =
      "menu \"&Browse\" \"&Browse Patients\"\n"
      "click 3\n"
      "key Down Down\n"
      "click \"&Change\"\n"
      "expect-title \"Changing a Patients Record\"\n";
  auto start_of_care = [](const std::string& out) {
    size_t at = out.find("  13 - entry ");
    return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
  };
  Outcome run = RunScript(open_patient +
                          "dump\n"
                          "click 13\n"
                          "key Ctrl+A\n"
                          "type \"13/45/xx\"\n"
                          "click \"OK\"\n"
                          "expect-title \"Changing a Patients Record\"\n"
                          "dump\n"
                          "click \"Cancel\"\n"
                          "click \"Close\"\n"
                          "menu \"&File\" \"E&xit\"\n");
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string before = start_of_care(run.out);
  ASSERT_FALSE(before.empty()) << run.out;
  const size_t second =
      run.out.find("window window \"Changing a Patients Record\"",
                   run.out.find("window window \"Changing a Patients Record\"") + 1);
  ASSERT_NE(second, std::string::npos) << run.out;
  EXPECT_EQ(start_of_care(run.out.substr(second)),
            "  13 - entry \"13/45/xx\" visible enabled focused");

  Outcome again = RunScript(open_patient +
                            "dump\nclick \"Cancel\"\nclick \"Close\"\n"
                            "menu \"&File\" \"E&xit\"\n");
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_EQ(start_of_care(again.out), before) << "the refused date did not reach the file";
}

}  // namespace
}  // namespace carelog::app

namespace carelog::app {
namespace {

std::string NextMonthHeading() {
  values::CalendarDate today;
  values::SplitDate(values::Today(), &today);
  return FillMonth(FirstOfMonthMovedBy(today.year, today.month, 1), 0).heading;
}

TEST_F(CarelogProgram, BrowseDatesAsksForItsDayAndEndsWhenCancelled) {
  // The picker's keys move by month and day across the year end; Escape cancels, and the
  // schedule then never shows its window.
  Outcome cancelled = RunScript(
      "menu \"&Calendar\" \"BrowseDates\"\n"
      "expect-title \"Calendar\"\n"
      "click 46\n"
      "click 45\n"
      "key PageUp\n"
      "key PageDown\n"
      "key PageDown\n"
      "expect-text 47 \"" +
      NextMonthHeading() +
      "\"\n"
      "key Escape\n"
      "expect-title \"The Care Log\"\n");
  EXPECT_EQ(cancelled.status, 0) << cancelled.err;

  Outcome picked = RunScript(
      "menu \"&Calendar\" \"BrowseDates\"\n"
      "expect-title \"Calendar\"\n"
      "key Right\n"
      "click 48\n"
      "expect-title \"Patient Names\"\n"
      "click \"Close\"\n"
      "expect-title \"The Care Log\"\n");
  EXPECT_EQ(picked.status, 0) << picked.err;
}

}  // namespace
}  // namespace carelog::app
