// The report procedures printed to the PDF printer on sample data: their captions and field
// values in the PDF text, their page counts, the progress percentage, Cancel and a report with
// no record to print. With CARELOG_REPORTS=DIR each printed PDF is also kept in DIR.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_testing.h"
#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/patterns/form_record.h"
#include "app/patterns/report_table.h"
#include "app/procedure_globals.h"
#include "app/procedures/report_procedures.h"
#include "runtime/host/printing.h"
#include "runtime/report/report.h"
#include "runtime/store/file_statements.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"
#include "tools/carelog-sample/sample_data.h"

namespace carelog::app {
namespace {

namespace wt = window::testing;
using appdata::PRO;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

int CountPdfPages(const std::string& pdf) {
  int pages = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
       at = pdf.find("/Type /Page", at + 1)) {
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  }
  return pages;
}

std::string PdfText(const std::filesystem::path& pdf) {
  std::filesystem::path text = pdf;
  text.replace_extension(".txt");
  std::string command =
      "pdftotext -layout '" + pdf.string() + "' '" + text.string() + "' 2>/dev/null";
  if (std::system(command.c_str()) != 0) return "";
  return ReadFile(text);
}

std::string Clipped(const char* text, size_t size) {
  std::string s(text, size);
  return s.substr(0, s.find_last_not_of(' ') + 1);
}

int32_t g_day = 0;
int32_t TheTestDay(int32_t) {
  return g_day;
}

class ReportProcedures : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    directory_ = new testing::TempWorkingDirectory;
    sample::SampleCounts counts;
    std::string error;
    ASSERT_EQ(sample::WriteSampleData(sample::SampleOptions{20, 1}, &counts, &error), 0) << error;
  }
  static void TearDownTestSuite() {
    delete directory_;
    directory_ = nullptr;
  }
  void SetUp() override {
    ASSERT_TRUE(report::SetPrinter(host::kPdfPrinterName));
    pdf_ = directory_->path() /
           (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".pdf");
    std::filesystem::remove(pdf_);
    report::SetPrintOutput(pdf_.string());
    SetDayChooser(&TheTestDay);
  }
  void TearDown() override {
    report::SetPrintOutput("");
    SetDayChooser(nullptr);
    const char* keep = std::getenv("CARELOG_REPORTS");
    if (keep && !keep_as_.empty() && std::filesystem::exists(pdf_)) {
      std::filesystem::copy_file(pdf_, std::filesystem::path(keep) / (keep_as_ + ".pdf"),
                                 std::filesystem::copy_options::overwrite_existing);
    }
  }

  // Runs `body` as the program with the progress notes file open (and positioned by `body`).
  static int32_t Run(const std::function<void()>& body) {
    int32_t response = -1;
    wt::Program program([&] {
      store::FileDeclaration& notes = appdata::ProgressNotesFile();
      store::FileDeclaration& patients = appdata::PatientsFile();
      store::Open(notes, 0x42);
      store::Open(patients, 0x42);
      body();
      response = ProcResponse;
      store::Close(patients);
      store::Close(notes);
    });
    program.Join();
    return response;
  }

  // The day with the most progress notes in the sample data, and how many it has.
  static std::pair<int32_t, int> BusiestDay() {
    std::map<int32_t, int> notes;
    Run([&] {
      store::Set(appdata::ProgressNotesFile());
      while (store::Next(appdata::ProgressNotesFile()) == 0) ++notes[PRO.DATE];
    });
    std::pair<int32_t, int> best{0, 0};
    for (auto [day, count] : notes) {
      if (count > best.second) best = {day, count};
    }
    return best;
  }

  // Adds `count` progress notes of patient 1 on `day`.
  static void AddNotes(int32_t day, int count, int32_t first_record) {
    Run([&] {
      store::FileDeclaration& notes = appdata::ProgressNotesFile();
      for (int i = 0; i < count; ++i) {
        std::memset(notes.buffer, 0, notes.record_size);
        PRO.PATIENT_NUMBER = 1;
        PRO.DATE = day;
        PRO.RECORD_NO = first_record + i;
        PRO.TIME_IN = 900000 + i * 6000 + 1;
        PRO.TIME_OUT = 900000 + i * 6000 + 4501;
        PRO.MILAGE[0] = 'Y';
        ASSERT_EQ(store::Add(notes), 0);
      }
    });
  }

  static testing::TempWorkingDirectory* directory_;
  std::filesystem::path pdf_;
  std::string keep_as_;  // the name under which CARELOG_REPORTS keeps the PDF
};
testing::TempWorkingDirectory* ReportProcedures::directory_ = nullptr;

TEST_F(ReportProcedures, PrintprogressPrintsTheCurrentNoteOnOnePageOfTheProgressNoteForm) {
  keep_as_ = "printprogress";
  std::string name, bowel;
  int32_t record = 0;
  int32_t response = Run([&] {
    store::Set(appdata::ProgressNotesFile());
    store::Next(appdata::ProgressNotesFile());
    appdata::PAT.PATIENT_NUMBER = PRO.PATIENT_NUMBER;
    store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
    name = Clipped(appdata::PAT.NAME, sizeof appdata::PAT.NAME);
    bowel = Clipped(PRO.BOWEL_SOUNDS, sizeof PRO.BOWEL_SOUNDS);
    record = PRO.RECORD_NO;
    PRINTPROGRESS();
  });
  EXPECT_EQ(response, 1);
  EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), 1);
  std::string text = PdfText(pdf_);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const std::string& t :
       {std::string("BROOKFIELD HOME HEALTHCARE, LTD."),
        std::string("NURSING CLINICAL PROGRESS NOTE"),
        std::string("CLIENT/RESPONISBLE PARTY SIGNATURE - RELATIONSHIP"),
        std::string("disagree with current/change in plan of care."), name, bowel}) {
    EXPECT_NE(text.find(t), std::string::npos) << t;
  }
}

TEST_F(ReportProcedures, ANoteDeletedMeanwhilePrintsNothingAndAnswersTwo) {
  int32_t response = Run([] {
    std::memset(&PRO, 0, sizeof PRO);
    PRO.RECORD_NO = 999999;
    PRINTPROGRESS();
  });
  EXPECT_EQ(response, 2);
  EXPECT_FALSE(std::filesystem::exists(pdf_));
}

TEST_F(ReportProcedures, PrinttodayPrintsEveryNoteOfTheDayEachOnItsOwnPage) {
  keep_as_ = "printtoday";
  auto [day, count] = BusiestDay();
  ASSERT_GT(count, 0);
  g_day = day;
  EXPECT_EQ(Run(&PRINTTODAY), 1);
  EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), count);
}

TEST_F(ReportProcedures, PrintlistLogsEveryVisitOfTheDayWithItsTypeAndHours) {
  keep_as_ = "printlist";
  auto [day, count] = BusiestDay();
  g_day = day;
  EXPECT_EQ(Run(&PRINTLIST), 1);
  EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), 1);
  std::string text = PdfText(pdf_);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const char* t : {"BROOKFIELD HOME HEALTHCARE, LTD.", "DAILY VISIT LOG",
                        "EMPLOYEE'S FULL NAME:", "PATIENT'S NAME", "TOTAL", "MILEAGE", "COMMENTS",
                        "OFFICE", "Type: NHNF - Not Home/ Not Found"}) {
    EXPECT_NE(text.find(t), std::string::npos) << t;
  }
  // The visits are numbered 1 to count, one line each.
  EXPECT_NE(text.find("\n" + std::to_string(count) + " "), std::string::npos);
  EXPECT_EQ(text.find("\n" + std::to_string(count + 1) + " "), std::string::npos);
}

TEST_F(ReportProcedures, PrintnewmedsPrintsTheProfileWithItsMedicationLines) {
  keep_as_ = "printnewmeds";
  std::string drug, patient;
  int32_t response = Run([&] {
    store::FileDeclaration& meds = appdata::MedicationsFile();
    store::Open(meds, 0x42);
    store::Set(meds);
    store::Next(meds);
    drug = Clipped(appdata::MED.DRUG[0], sizeof appdata::MED.DRUG[0]);
    appdata::PAT.PATIENT_NUMBER = appdata::MED.PATIENT_NUMBER;
    store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
    patient = Clipped(appdata::PAT.NAME, sizeof appdata::PAT.NAME);
    PRINTNEWMEDS();
    store::Close(meds);
  });
  EXPECT_EQ(response, 1);
  EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), 1);
  std::string text = PdfText(pdf_);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const std::string& t :
       {std::string("MEDICATION"), std::string("PROFILE"), std::string("START DATE"),
        std::string("DRUG"), std::string("DOSE"), std::string("FREQ/ROUTE"), std::string("CLASS"),
        std::string("DC DATE"), drug, patient}) {
    EXPECT_NE(text.find(t), std::string::npos) << t;
  }
}

TEST_F(ReportProcedures, Print485FillsTheNumberedBoxesOfThePlanOfCare) {
  keep_as_ = "print485";
  std::string icd9, patient, city;
  bool male = false;
  int32_t response = Run([&] {
    store::FileDeclaration& plans = appdata::PocFile();
    store::Open(plans, 0x42);
    store::Set(plans);
    store::Next(plans);
    icd9 = Clipped(appdata::POC.ICD9[0], sizeof appdata::POC.ICD9[0]);
    appdata::PAT.PATIENT_NUMBER = appdata::POC.PATIENT_NUMBER;
    store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
    patient = Clipped(appdata::PAT.NAME, sizeof appdata::PAT.NAME);
    city = Clipped(appdata::PAT.CITY, sizeof appdata::PAT.CITY) + "," +
           Clipped(appdata::PAT.STATE, sizeof appdata::PAT.STATE) + " " +
           std::to_string(int32_t{appdata::PAT.ZIPCODE}).substr(0, 5);
    male = appdata::PAT.SEX[0] == 'M';
    std::memset(&appdata::PAT, ' ', sizeof appdata::PAT);  // the report looks the patient up
    RunReport(kPrint485);  // the plan alone: PRINT485 goes on to print its addenda
    store::Close(plans);
  });
  EXPECT_EQ(response, 1);
  EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), 1);
  std::string text = PdfText(pdf_);
  if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
  for (const std::string& t :
       {std::string("HOME HEALTH CERTIFICATION AND PLAN OF CARE"),
        std::string("18.B. Activities Permitted"), std::string("19. Mental Status:"),
        std::string("20. Prognosis:"), std::string("21. Orders for Discipline"),
        std::string("22. Goals/Rehabilitation"), std::string("Form HCFA-485 (C-4) (02-94)"),
        patient, city}) {
    EXPECT_NE(text.find(t), std::string::npos) << t;
  }
  (void)male;
  // The principal diagnosis code, typed with its point, printed as typed.
  EXPECT_NE(text.find(icd9), std::string::npos) << icd9;
}

// The one-record reports of a patient's own file: the first record of the file, its patient
// current, printed on one page with its captions, its patient and a memo's text.
// The sample data has a discharge summary for about one patient in ten.
void AddDischargeOfPatientOne() {
  store::FileDeclaration& file = appdata::DischargeSummaryFile();
  std::memset(file.buffer, 0, file.record_size);
  FieldSlot patient = ResolveField(appdata::FileId::kDischargeSummary, "DIS:PATIENT_NUMBER");
  WriteNumber(patient, 1);
  appdata::DIS.RECORD_NO = 1;
  appdata::DIS.DATE = 80000;
  appdata::DIS.BP[0] = 120;
  appdata::DIS.BP[1] = 140;
  FieldSlot goals = ResolveField(appdata::FileId::kDischargeSummary, "DIS:GOALS_ACHIEVED");
  WriteText(goals, "Goals met: independent with medications and diet.");
  ASSERT_EQ(store::Add(file), 0);
}

struct SheetCase {
  void (*procedure)();
  appdata::FileId file;
  const char* keep_as;
  std::vector<std::string> captions;
  const char* memo;  // declared name of a memo whose text must appear
};

TEST_F(ReportProcedures, TheSheetsOfOneRecordPrintTheirCaptionsPatientAndNotes) {
  using appdata::FileId;
  const SheetCase cases[] = {
      {&PRINTNARRATIVE,
       FileId::kNarrative,
       "printnarrative",
       {"NARRATIVE NOTES", "NARRATIVE"},
       "NAR:NARRATIVE"},
      {&PRINTCASECON,
       FileId::kCaseCon,
       "printcasecon",
       {"CLIENT CASE CONFERENCE", "Participants:", "Problems Identified",
        "Suggested Intervention:", "Goals:"},
       "CAS:PROBLEMS"},
      {&PRINTDISCHARGE,
       FileId::kDischargeSummary,
       "printdischarge",
       {"DISCHARGE SUMMARY", "VITAL SIGNS (RANGE)", "DISPOSITION", "GOALS ACHIEVED",
        "DISCHARGE STATUS"},
       "DIS:GOALS_ACHIEVED"},
      {&PRINTCAREPLAN,
       FileId::kCarePlan,
       "printcareplan",
       {"CLIENT CARE PLAN", "CLIENT NAME:", "MEDICAL RECORD #:", "SHORT-TERM GOALS:",
        "LONG-TERM GOALS:", "Problem", "Approach/Action"},
       nullptr},
      {&PRINTSUMMARY,
       FileId::kSixtyDay,
       "printsummary",
       {"60 Day Summary",
        "MR#:", "CERT:", "THE FOLLOWING IS A RANGE OF VITALS WITHIN THE LAST 60 DAYS;", "TEMP:",
        "PULSE:", "RESP:", "ABNL LAB IF APPLICABLE", "ABNL BLOOD SUGARS IF APPLICABLE", "NURSE:"},
       "SIX:SUMMARY"},
      {&PRINTINFO,
       FileId::kPatients,
       "printinfo",
       {"PATIENT INFORMATION", "ALLERGIES:", "SSN:", "MEDICARE:", "DOB:", "PHONE:", "ADDRESS:",
        "NEXT VISIT:", "PLANS AND PROGRESS"},
       "PAT:PLANS_AND_PROGRESS"},
  };
  const char* keep = std::getenv("CARELOG_REPORTS");
  for (const SheetCase& c : cases) {
    SCOPED_TRACE(c.keep_as);
    std::filesystem::remove(pdf_);
    std::string patient, memo;
    int32_t response = Run([&] {
      store::FileDeclaration& file = appdata::Declaration(c.file);
      if (c.file != appdata::FileId::kPatients) store::Open(file, 0x42);
      store::Set(file);
      if (store::Next(file) != 0 && c.file == FileId::kDischargeSummary) AddDischargeOfPatientOne();
      // Each file's first field is its patient's number.
      FieldSlot number = ResolveField(c.file, appdata::Info(c.file).fields[0].name);
      appdata::PAT.PATIENT_NUMBER = static_cast<int32_t>(ReadNumber(number));
      store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER));
      patient = Clipped(appdata::PAT.NAME, sizeof appdata::PAT.NAME);
      const appdata::FileInfo& info = appdata::Info(c.file);
      for (size_t m = 0; m < info.memos.size(); ++m) {
        if (c.memo && std::string(info.memos[m].name) == c.memo)
          memo = std::string(file.memos[m]->buffer, 30);
      }
      c.procedure();
      if (c.file != appdata::FileId::kPatients) store::Close(file);
    });
    EXPECT_EQ(response, 1);
    EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), 1);
    if (keep && std::filesystem::exists(pdf_)) {
      std::filesystem::copy_file(pdf_,
                                 std::filesystem::path(keep) / (std::string(c.keep_as) + ".pdf"),
                                 std::filesystem::copy_options::overwrite_existing);
    }
    std::string text = PdfText(pdf_);
    if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
    std::vector<std::string> wanted = c.captions;
    wanted.push_back(patient);
    if (c.memo) wanted.push_back(memo.substr(0, memo.find_last_not_of(' ') + 1).substr(0, 20));
    for (const std::string& t : wanted) EXPECT_NE(text.find(t), std::string::npos) << t;
  }
}

// The addendum, the aide assignment sheet and the month calendar of the first record of their
// files, printed on paper: one page each with the captions of the form.
struct PaperCase {
  void (*procedure)();
  appdata::FileId file;
  const char* keep_as;
  std::vector<std::string> captions;
};

TEST_F(ReportProcedures, TheAddendumAideSheetAndMonthCalendarPrintOnePageEach) {
  using appdata::FileId;
  const PaperCase cases[] = {
      {&PRINTADDENDUM,
       FileId::kAddInfo,
       "printaddendum",
       {"PLAN OF TREATMENT", "MEDICAL UPDATE", "ADDENDUM TO:", "Homebound",
        "Form HCFA-487 (C4) (4-87)"}},
      {&PRINTHHA,
       FileId::kHhaAssign,
       "printhha",
       {"HOME HEALTH AID ASSIGNMENT", "HOMEMAKER/COMPANION ASSIGNMENT", "Tub bath with assist",
        "Check skin over heels"}},
      {&PRINTMONTH, FileId::kMonthCal, "printmonth", {"Nurse Visits", "March", "SN visit"}},
  };
  const char* keep = std::getenv("CARELOG_REPORTS");
  for (const PaperCase& c : cases) {
    SCOPED_TRACE(c.keep_as);
    std::filesystem::remove(pdf_);
    int32_t response = Run([&] {
      store::FileDeclaration& file = appdata::Declaration(c.file);
      store::FileDeclaration& plans = appdata::PocFile();
      store::Open(file, 0x42);
      store::Open(plans, 0x42);
      store::Set(file);
      ASSERT_EQ(store::Next(file), 0);
      appdata::POC.REC_NO = appdata::ADD.RECNO;  // the addenda's plan is the current one
      c.procedure();
      store::Close(plans);
      store::Close(file);
    });
    EXPECT_EQ(response, 1);
    EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), 1);
    if (keep && std::filesystem::exists(pdf_)) {
      std::filesystem::copy_file(pdf_,
                                 std::filesystem::path(keep) / (std::string(c.keep_as) + ".pdf"),
                                 std::filesystem::copy_options::overwrite_existing);
    }
    std::string text = PdfText(pdf_);
    if (text.empty()) GTEST_SKIP() << "pdftotext is not installed";
    for (const std::string& t : c.captions) EXPECT_NE(text.find(t), std::string::npos) << t;
  }
}

// A table over PRINTTODAY's definitions whose preparation hook watches the progress window.
std::vector<std::string> g_percentages;
bool g_cancel_after_first = false;
void Watch() {
  g_percentages.push_back(window::GetProperty(kProgressPercent, window::prop::kText));
  if (g_cancel_after_first && g_percentages.size() == 1) {
    window::Post(window::event::kAccepted, kProgressCancel);
  }
}

ReportTable Watched() {
  ReportTable table = kPrinttoday;
  table.hooks.prepare = &Watch;
  return table;
}

TEST_F(ReportProcedures, ThirtyNotesOfADayReachAHundredPercentAfterTenAndPrintThirtyPages) {
  const int32_t day = 80000;  // no sample note is on this day
  AddNotes(day, 30, 500000);
  g_day = day;
  g_percentages.clear();
  g_cancel_after_first = false;
  static const ReportTable table = Watched();
  EXPECT_EQ(Run([] { RunReport(table); }), 1);
  ASSERT_EQ(g_percentages.size(), 30u);
  // Each band is prepared after its own record was read: the first shows 10%.
  EXPECT_EQ(g_percentages[0], " 10% Completed");
  EXPECT_EQ(g_percentages[8], " 90% Completed");
  EXPECT_EQ(g_percentages[9], "100% Completed");
  EXPECT_EQ(g_percentages[29], "100% Completed");
  EXPECT_EQ(CountPdfPages(ReadFile(pdf_)), 30);
}

TEST_F(ReportProcedures, CancelDuringALongRunPrintsNothing) {
  const int32_t day = 80001;
  AddNotes(day, 60, 600000);
  g_day = day;
  g_percentages.clear();
  g_cancel_after_first = true;
  static const ReportTable table = Watched();
  EXPECT_EQ(Run([] { RunReport(table); }), 2);
  // The cycle under way finishes its 25 records; the next event is the Cancel.
  EXPECT_EQ(g_percentages.size(), 25u);
  EXPECT_FALSE(std::filesystem::exists(pdf_));
}

}  // namespace
}  // namespace carelog::app
