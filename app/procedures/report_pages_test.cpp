// The addendum, aide assignment and month calendar reports read back from their page files: the
// records each chooses, their order, one page per record, and where the month's days fall; a
// plan printed with its addenda; a read error during a run (warning 35).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/app_testing.h"
#include "app/data/keys.h"
#include "app/data/packed_decimal.h"
#include "app/data/records.h"
#include "app/month_grid.h"
#include "app/procedure_globals.h"
#include "app/procedures/report_procedures.h"
#include "app/procedures/vital_ranges.h"
#include "runtime/host/automation.h"
#include "runtime/host/printing.h"
#include "runtime/report/metafile.h"
#include "runtime/report/report.h"
#include "runtime/store/file_statements.h"
#include "runtime/values/picture.h"
#include "runtime/values/standard_date.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using appdata::FileId;

// One text drawn on a page, at its top left in page units.
struct PageText {
  std::string text;
  int x = 0, y = 0;
};
using Page = std::vector<PageText>;

std::vector<std::vector<Page>> g_previews;  // the pages of each preview call, in call order
int32_t g_preview_answer = 2;

std::string Clipped(const std::string& s) {
  size_t begin = s.find_first_not_of(' ');
  if (begin == std::string::npos) return "";
  return s.substr(begin, s.find_last_not_of(' ') - begin + 1);
}

// The preview: reads every recorded page back from its page file and answers as told.
int32_t ReadThePages(std::span<const std::string> files) {
  std::vector<Page> pages;
  for (const std::string& file : files) {
    report::DrawList list;
    report::PageFrame frame;
    std::string error;
    EXPECT_TRUE(report::ReadPageFile(file, &list, &frame, &error)) << error;
    Page page;
    for (const report::DrawOp& op : list.ops()) {
      if (op.code == report::DrawCode::kText) page.push_back({Clipped(op.text), op.a, op.b});
    }
    pages.push_back(std::move(page));
  }
  g_previews.push_back(std::move(pages));
  return g_preview_answer;
}

const PageText* Find(const Page& page, const std::string& text) {
  for (const PageText& t : page) {
    if (t.text == text) return &t;
  }
  return nullptr;
}
int Count(const Page& page, const std::string& text) {
  int n = 0;
  for (const PageText& t : page) n += t.text == text ? 1 : 0;
  return n;
}
bool Contains(const Page& page, const std::string& part) {
  for (const PageText& t : page) {
    if (t.text.find(part) != std::string::npos) return true;
  }
  return false;
}

// A report table printed through the page reader: previewed, whatever the table says.
ReportTable Previewed(const ReportTable& table) {
  ReportTable copy = table;
  copy.preview = true;
  return copy;
}

class ReportPages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = new testing::TempWorkingDirectory;
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData(sample::SampleOptions{12, 3}, &counts, &error), 0) << error;
  }
  static void TearDownTestSuite() {
    delete directory_;
    directory_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(report::SetPrinter(host::kPdfPrinterName));
    report::SetPrintOutput((directory_->path() / "printed.pdf").string());
    SetReportPreview(&ReadThePages);
    g_previews.clear();
    g_preview_answer = 2;
  }
  void TearDown() override {
    SetReportPreview(nullptr);
    report::SetPrintOutput("");
  }

  // Runs `body` as the program with `files` open; the response it leaves.
  static int32_t Run(std::vector<FileId> files, const std::function<void()>& body) {
    int32_t response = -1;
    wt::Program program([&] {
      for (FileId f : files) store::Open(appdata::Declaration(f), 0x42);
      body();
      response = ProcResponse;
      for (FileId f : files) store::Close(appdata::Declaration(f));
    });
    program.Join();
    return response;
  }

  static void AddAddendum(int32_t plan, const std::string& text) {
    Run({FileId::kAddInfo}, [&] {
      appdata::ADD.RECNO = plan;
      ASSERT_EQ(store::AssignMemo(appdata::AddInfoFile(), 1, text), 0);
      ASSERT_EQ(store::Add(appdata::AddInfoFile()), 0);
    });
  }

  // Makes plan `plan` current (and returns its patient's name, its medical record number in
  // *record), or a plan of that number that is not stored.
  static std::string MakePlanCurrent(int32_t plan, std::string* record = nullptr) {
    std::string name;
    appdata::POC.REC_NO = plan;
    if (store::Get(appdata::PocFile(), appdata::Key(appdata::PocKey::RECNOKEY)) != 0) {
      std::memset(&appdata::POC, 0, sizeof appdata::POC);
      appdata::POC.REC_NO = plan;
      return name;
    }
    appdata::PAT.PATIENT_NUMBER = appdata::POC.PATIENT_NUMBER;
    store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
    name = Clipped(std::string(appdata::PAT.NAME, sizeof appdata::PAT.NAME));
    if (record) *record = Clipped(std::string(appdata::POC.MEDRECNO, sizeof appdata::POC.MEDRECNO));
    std::memset(&appdata::PAT, ' ', sizeof appdata::PAT);  // the report looks the patient up
    return name;
  }

  static testing::TempWorkingDirectory* directory_;
};
testing::TempWorkingDirectory* ReportPages::directory_ = nullptr;

TEST_F(ReportPages, TheAddendaOfThePlanPrintOnePageEachInTheirOrder) {
  AddAddendum(2, "Second addendum of plan two: wound care twice a week.");
  AddAddendum(3, "An addendum of plan three.");
  AddAddendum(2, "Third addendum of plan two: teach insulin.");
  std::string patient, record;
  int32_t response = Run({FileId::kPoc, FileId::kPatients}, [&] {
    patient = MakePlanCurrent(2, &record);
    PRINTADDENDUM();
  });
  EXPECT_EQ(response, 1) << "completed, although the preview printed nothing";
  ASSERT_EQ(g_previews.size(), 1u);
  const std::vector<Page>& pages = g_previews[0];
  ASSERT_EQ(pages.size(), 3u) << "the sample's own addendum and the two added, not plan three's";
  EXPECT_TRUE(Contains(pages[0], "Homebound"));
  EXPECT_TRUE(Contains(pages[1], "Second addendum of plan two"));
  EXPECT_TRUE(Contains(pages[2], "Third addendum of plan two"));
  for (const Page& page : pages) {
    EXPECT_FALSE(Contains(page, "plan three"));
    for (const char* caption :
         {"PLAN OF TREATMENT", "MEDICAL UPDATE", "ADDENDUM TO:", "1. Patient's HI Claim No.", "9.",
          "12. Optional Name/Signature "
          "of Nurse/Therapist",
          "Form HCFA-487 (C4) (4-87)"}) {
      EXPECT_NE(Find(page, caption), nullptr) << caption;
    }
    EXPECT_NE(Find(page, patient), nullptr) << "the plan's patient, looked up: " << patient;
    EXPECT_NE(Find(page, record), nullptr) << "the plan's medical record number";
  }
}

TEST_F(ReportPages, AddendaOfAPlanNoLongerStoredPrintEveryOneWithBlankPlanFields) {
  AddAddendum(777, "Orphan one.");
  AddAddendum(777, "Orphan two.");
  int32_t response = Run({FileId::kPoc, FileId::kPatients}, [&] {
    MakePlanCurrent(777);
    PRINTADDENDUM();
  });
  EXPECT_EQ(response, 1);
  ASSERT_EQ(g_previews.size(), 1u);
  ASSERT_EQ(g_previews[0].size(), 2u) << "the blank plan keeps its number for the filter";
  EXPECT_TRUE(Contains(g_previews[0][1], "Orphan two."));
  EXPECT_FALSE(Contains(g_previews[0][0], "MR1000"));
}

TEST_F(ReportPages, APlanIsFollowedByItsOwnAddendaAndAPlanNotFoundByNone) {
  g_preview_answer = 1;
  int32_t response = Run({FileId::kPoc, FileId::kPatients}, [&] {
    MakePlanCurrent(1);
    PRINT485();
  });
  EXPECT_EQ(response, 1);
  ASSERT_EQ(g_previews.size(), 2u);
  EXPECT_NE(Find(g_previews[0][0], "Form HCFA-485 (C-4) (02-94)"), nullptr);
  ASSERT_EQ(g_previews[1].size(), 1u) << "plan one's addendum, not those of the plan after it";
  EXPECT_NE(Find(g_previews[1][0], "Form HCFA-487 (C4) (4-87)"), nullptr);

  g_previews.clear();
  response = Run({FileId::kPoc, FileId::kPatients}, [&] {
    MakePlanCurrent(4242);
    PRINT485();
  });
  EXPECT_EQ(response, 2);
  EXPECT_TRUE(g_previews.empty());
}

TEST_F(ReportPages, TheAssignmentSheetShowsItsColumnsUpdateDatesInEveryColumnHead) {
  const int32_t updated = values::BuildDate(4, 2, 2026);
  int32_t response = Run({FileId::kHhaAssign}, [&] {
    appdata::HHA = {};
    appdata::HHA.PATIENT_NUMBER = 3;
    appdata::HHA.REC_NO = 9001;
    appdata::HHA.UPDATE_DATE[1] = updated;
    appdata::HHA.MEAL_PREP[1] = 1;
    std::memcpy(appdata::HHA.CLEAN[2], "Sponge bath         ", 20);
    std::memset(appdata::HHA.SPECIAL_INSTRUCTIONS, ' ', sizeof appdata::HHA.SPECIAL_INSTRUCTIONS);
    std::memcpy(appdata::HHA.SPECIAL_INSTRUCTIONS[1], "Keep the walker in reach.", 25);
    ASSERT_EQ(store::Add(appdata::HhaAssignFile()), 0);
    appdata::HHA.UPDATE_DATE[1] = 0;  // the band takes the dates from the record it reads
    static const ReportTable table = Previewed(kPrinthha);
    RunReport(table);
  });
  EXPECT_EQ(response, 1);
  ASSERT_EQ(g_previews.size(), 1u);
  ASSERT_EQ(g_previews[0].size(), 1u) << "only the sheet of record 9001";
  const Page& page = g_previews[0][0];
  for (const char* caption :
       {"HOME HEALTH AID ASSIGNMENT", "HOMEMAKER/COMPANION ASSIGNMENT", "DATE/UPDATE",
        "START OF SERVICES", "Meal preparation", "Wash windows", "SPECIAL INSTRUCTIONS",
        "Sponge bath", "Keep the walker in reach."}) {
    EXPECT_NE(Find(page, caption), nullptr) << caption;
  }
  EXPECT_EQ(Count(page, Clipped(values::Format(updated, "@d1B"))), 3)
      << "the column table and the heads of both task panels";
  EXPECT_NE(Find(page, "9001"), nullptr);
}

// No text of the page is a bare "0" or "." or ".0": what an empty number or tenths field shows
// when it is printed without blanking.
void ExpectNoEmptyNumbers(const Page& page) {
  for (const char* empty : {"0", ".", ".0", "0.0", "0.00"}) {
    EXPECT_EQ(Find(page, empty), nullptr) << "a field printed \"" << empty << "\"";
  }
}

// Vital signs not taken (0; no one has a temperature, pulse or weight of 0) print blank; those
// taken print as the forms show them, temperatures and weights in tenths.
TEST_F(ReportPages, VitalSignsNotTakenPrintBlankAndTakenOnesInTenths) {
  int32_t response = Run({FileId::kDischargeSummary}, [] {
    appdata::DIS = {};
    appdata::EncodeDecimal(3, appdata::DIS.PATIENT_NUMBER.span());
    appdata::DIS.RECORD_NO = 9001;
    appdata::DIS.TEMPERATURE[0] = 986;  // FROM 98.6, TO not taken; nothing else taken
    ASSERT_EQ(store::Add(appdata::DischargeSummaryFile()), 0);
    static const ReportTable table = Previewed(kPrintdischarge);
    RunReport(table);
  });
  EXPECT_EQ(response, 1);
  response = Run({FileId::kProgressNotes}, [] {
    appdata::PRO = {};
    appdata::PRO.PATIENT_NUMBER = 3;
    appdata::PRO.RECORD_NO = 9001;
    appdata::PRO.WEIGHT = 1655;  // 165.5 pounds; no temperature, pulse, respiration or BP
    ASSERT_EQ(store::Add(appdata::ProgressNotesFile()), 0);
    static const ReportTable table = Previewed(kPrintprogress);
    RunReport(table);
  });
  EXPECT_EQ(response, 1);
  ASSERT_EQ(g_previews.size(), 2u);
  ASSERT_EQ(g_previews[0].size(), 1u);
  EXPECT_NE(Find(g_previews[0][0], "98.6"), nullptr);
  ExpectNoEmptyNumbers(g_previews[0][0]);
  ASSERT_EQ(g_previews[1].size(), 1u);
  EXPECT_NE(Find(g_previews[1][0], "165.5"), nullptr);
  ExpectNoEmptyNumbers(g_previews[1][0]);
}

// A "lowest so far" range still at its starting point holds nothing recorded and prints blank,
// never as the starting point or as a field too narrow for it; recorded lowest values print.
TEST_F(ReportPages, RangeStartsNotRecordedPrintBlankAndRecordedOnesPrint) {
  namespace vr = vital_ranges;
  auto discharge = [](int32_t record, int32_t pulse) {
    appdata::DIS = {};
    appdata::EncodeDecimal(3, appdata::DIS.PATIENT_NUMBER.span());
    appdata::DIS.RECORD_NO = record;
    appdata::DIS.BP[0] = vr::kDischargeBp;
    appdata::DIS.TEMPERATURE[0] = vr::kDischargeTemperature;
    appdata::DIS.P[0] = pulse;
    appdata::DIS.R[0] = vr::kDischargeResp;
    appdata::DIS.WEIGHT[0] = vr::kDischargeWeight;
    ASSERT_EQ(store::Add(appdata::DischargeSummaryFile()), 0);
    static const ReportTable table = Previewed(kPrintdischarge);
    RunReport(table);
  };
  Run({FileId::kDischargeSummary}, [&] { discharge(9101, vr::kDischargePulse); });
  Run({FileId::kDischargeSummary}, [&] { discharge(9102, 58); });
  auto sixty = [](int32_t record, int32_t bp) {
    appdata::SIX = {};
    appdata::SIX.PATIENT_NUMBER = 3;
    appdata::SIX.RECNO = record;
    appdata::SIX.LOWPULSE = vr::kSixtyDayPulse;
    appdata::SIX.LOWRESP = vr::kSixtyDayResp;
    appdata::SIX.LOWBP = bp;
    ASSERT_EQ(store::Add(appdata::SixtyDayFile()), 0);
    static const ReportTable table = Previewed(kPrintsummary);
    RunReport(table);
  };
  Run({FileId::kSixtyDay}, [&] { sixty(9101, vr::kSixtyDayBp); });
  Run({FileId::kSixtyDay}, [&] { sixty(9102, 108); });
  ASSERT_EQ(g_previews.size(), 4u);
  for (const std::vector<Page>& pages : g_previews) ASSERT_EQ(pages.size(), 1u);
  const Page& discharge_unrecorded = g_previews[0][0];
  const Page& sixty_unrecorded = g_previews[2][0];
  for (const Page* page : {&discharge_unrecorded, &sixty_unrecorded}) {
    EXPECT_FALSE(Contains(*page, "##")) << "a starting point too wide for its field";
    for (const char* start : {"9999999", "9,999,999", "110.0", "150", "100", "99999", "180"})
      EXPECT_EQ(Find(*page, start), nullptr) << start;
    ExpectNoEmptyNumbers(*page);
  }
  EXPECT_NE(Find(g_previews[1][0], "58"), nullptr) << "the recorded lowest pulse";
  EXPECT_EQ(Find(g_previews[1][0], "110.0"), nullptr) << "the temperature still not recorded";
  EXPECT_NE(Find(g_previews[3][0], "108"), nullptr) << "the recorded lowest BP";
}

TEST_F(ReportPages, TheMonthCalendarPutsEachDayInItsWeekdayColumn) {
  const int32_t april = values::BuildDate(4, 1, 2026);  // a Wednesday
  const MonthFill fill = FillMonth(april, 0);
  const int visit_cell = fill.CellOfDay(15);
  std::string patient;
  int32_t response = Run({FileId::kMonthCal, FileId::kPatients}, [&] {
    appdata::MON = {};
    appdata::MON.PATIENT_NUMBER = 4;
    appdata::MON.RECNO = 9002;
    appdata::MON.CALENDARDATE = april + 20;
    std::memset(appdata::MON.DAY_INFO, ' ', sizeof appdata::MON.DAY_INFO);
    std::memcpy(appdata::MON.DAY_INFO[visit_cell - 1], "SN visit 10am", 13);
    ASSERT_EQ(store::Add(appdata::MonthCalFile()), 0);
    appdata::PAT.PATIENT_NUMBER = 4;
    store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
    patient = Clipped(std::string(appdata::PAT.NAME, sizeof appdata::PAT.NAME));
    PRINTMONTH();
  });
  EXPECT_EQ(response, 1);
  ASSERT_EQ(g_previews.size(), 1u);
  ASSERT_EQ(g_previews[0].size(), 1u);
  const Page& page = g_previews[0][0];
  for (const std::string& t :
       {std::string("Nurse Visits"), std::string("April"), std::string("2026"),
        std::string("Sunday"), std::string("Saturday"), patient}) {
    EXPECT_NE(Find(page, t), nullptr) << t;
  }
  EXPECT_NE(Find(page, "30"), nullptr);
  EXPECT_EQ(Find(page, "31"), nullptr) << "April has 30 days";
  // The 1st sits under Wednesday; the 15th shares its cell with the cell's entry.
  const PageText* first = Find(page, "1");
  const PageText* wednesday = Find(page, "Wednesday");
  const PageText* thursday = Find(page, "Thursday");
  ASSERT_TRUE(first && wednesday && thursday);
  EXPECT_GE(first->x, wednesday->x - 100);
  EXPECT_LT(first->x, thursday->x - 100);
  const PageText* fifteenth = Find(page, "15");
  const PageText* visit = Find(page, "SN visit 10am");
  ASSERT_TRUE(fifteenth && visit);
  EXPECT_EQ(fifteenth->x, visit->x);
  EXPECT_GT(visit->y, fifteenth->y);
  const PageText* twenty_second = Find(page, "22");
  ASSERT_TRUE(twenty_second);
  EXPECT_GT(twenty_second->y, visit->y) << "the next week is the next row";
}

// Closes the sheet's file under the run, so that the next read fails as no end of records does.
void CloseTheFileUnderTheRun() {
  store::Close(appdata::HhaAssignFile());
}

TEST_F(ReportPages, AReadErrorDuringARunShowsWarning35AndPrintsNothing) {
  static ReportTable table = Previewed(kPrinthha);
  table.filter = "HHA:Rec_No > 0";
  table.hooks.prepare = &CloseTheFileUnderTheRun;
  int32_t response = -1;
  {
    wt::Program program([&] {
      RunReport(table);
      response = ProcResponse;
    });
    host::Automation automation;
    // The box comes up once the run has read past its first record.
    const std::string expected = "attempting to access a record from the HHA_Assign file";
    std::string shown;  // the failure to match "" quotes the box's text
    for (int tries = 0; tries < 100 && shown.find("the message is") == std::string::npos; ++tries) {
      automation.WaitIdle();
      shown = automation.ExpectMessage("").message;
    }
    EXPECT_NE(shown.find(expected), std::string::npos) << shown;
    EXPECT_TRUE(automation.Answer("OK").ok);
  }
  EXPECT_EQ(response, 2);
  EXPECT_TRUE(g_previews.empty()) << "no preview after a failed read";
}

// The progress window during a run, taken from the band preparation of the second record so
// that the window shows its percentage. For the documentation: run with
// --gtest_also_run_disabled_tests and CARELOG_SCREENSHOTS=DIR.
std::string g_progress_picture;
int g_bands = 0;
void PictureOfTheProgress() {
  if (++g_bands != 2) return;
  window::Display();
  EXPECT_TRUE(host::Automation().Screenshot(g_progress_picture).ok);
}

TEST_F(ReportPages, DISABLED_ScreenshotOfTheProgressWindow) {
  const char* directory = std::getenv("CARELOG_SCREENSHOTS");
  ASSERT_NE(directory, nullptr);
  g_progress_picture = std::string(directory) + "/report-progress.png";
  static ReportTable table = Previewed(kPrinthha);
  table.filter = "HHA:Rec_No > 0";
  table.expected = 4;
  table.hooks.prepare = &PictureOfTheProgress;
  g_bands = 0;
  Run({}, [] { RunReport(table); });
  EXPECT_TRUE(std::filesystem::exists(g_progress_picture));
}

}  // namespace
}  // namespace carelog::app
