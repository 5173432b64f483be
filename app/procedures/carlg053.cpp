// PRINT485: one plan of care on the home health certification and plan of care form, with its
// patient looked up, the sex marks set, the ICD9 codes shown and the patient's city line
// composed. A printed plan is followed by its addenda (PRINTADDENDUM).
#include <algorithm>
#include <cstring>
#include <string>

#include "app/data/records.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_globals.h"
#include "app/procedures/report_procedures.h"
#include "runtime/values/picture.h"

namespace carelog::app {
namespace {

using appdata::FileId;
using appdata::PAT;
constexpr FileId kFiles[] = {FileId::kPoc, FileId::kPatients};
constexpr FileId M = FileId::kPoc;
constexpr FileId PAT_FILE = FileId::kPatients;

enum Control { kCityLine = 18, kMale = 20, kFemale = 21 };
// The controls showing the seven ICD9 codes, in element order.
constexpr int kCodes[] = {31, 34, 37, 40, 43, 46, 49};

struct PlanMarks {
  char city_line[30];
  uint8_t male = 0;
  uint8_t female = 0;
  char codes[7][7];
};
thread_local PlanMarks marks;

constexpr ReportUse kUses[] = {
    {10, PAT_FILE, "PAT:MEDICARE_NUMBER"},
    {11, PAT_FILE, "PAT:SOC"},
    {12, M, "POC:FROMDATE"},
    {13, M, "POC:TODATE"},
    {14, M, "POC:MEDRECNO"},
    {15, PAT_FILE, "PAT:NAME"},
    {16, PAT_FILE, "PAT:ADDRESS_1"},
    {17, PAT_FILE, "PAT:ADDRESS_2"},
    {19, PAT_FILE, "PAT:DATE_OF_BIRTH"},
    {22, M, "POC:MEDS", 1},
    {23, M, "POC:MEDS", 2},
    {24, M, "POC:MEDS", 3},
    {25, M, "POC:MEDS", 4},
    {26, M, "POC:MEDS", 5},
    {27, M, "POC:MEDS", 6},
    {28, M, "POC:MEDS", 7},
    {29, M, "POC:MEDS", 8},
    {30, M, "POC:MEDS", 9},
    {32, M, "POC:DX", 1},
    {33, M, "POC:DXDATE", 1},
    {35, M, "POC:DX", 2},
    {36, M, "POC:DXDATE", 2},
    {38, M, "POC:DX", 3},
    {39, M, "POC:DXDATE", 3},
    {41, M, "POC:DX", 4},
    {42, M, "POC:DXDATE", 4},
    {44, M, "POC:DX", 5},
    {45, M, "POC:DXDATE", 5},
    {47, M, "POC:DX", 6},
    {48, M, "POC:DXDATE", 6},
    {50, M, "POC:DX", 7},
    {51, M, "POC:DXDATE", 7},
    {52, M, "POC:DME"},
    {53, M, "POC:SAFETY"},
    {54, M, "POC:NUTRITION"},
    {55, PAT_FILE, "PAT:ALLERGIES"},
    {56, M, "POC:AMPUTATION"},
    {57, M, "POC:BOWEL"},
    {58, M, "POC:CONTRACTURE"},
    {59, M, "POC:HEARING"},
    {60, M, "POC:PARALYSIS"},
    {61, M, "POC:ENDURANCE"},
    {62, M, "POC:AMBULATION"},
    {63, M, "POC:SPEECH"},
    {64, M, "POC:BLIND"},
    {65, M, "POC:DYSPNEA"},
    {66, M, "POC:OTHER"},
    {67, M, "POC:OTHERLIM"},
    {68, M, "POC:TOTBED"},
    {69, M, "POC:BEDBRP"},
    {70, M, "POC:UPASTOL"},
    {71, M, "POC:BEDCHAIR"},
    {72, M, "POC:EXERPRES"},
    {73, M, "POC:PARTWGHT"},
    {74, M, "POC:INDPEND"},
    {75, M, "POC:CRUTCHES"},
    {76, M, "POC:CANE"},
    {77, M, "POC:WHEELCHAIR"},
    {78, M, "POC:WALKER"},
    {79, M, "POC:NONE"},
    {80, M, "POC:OTHERACT"},
    {81, M, "POC:OTHERACTINFO"},
    {82, M, "POC:ORIENTED"},
    {83, M, "POC:COMATOSE"},
    {84, M, "POC:FORGETFUL"},
    {85, M, "POC:DEPRESSED"},
    {86, M, "POC:DISORIENTED"},
    {87, M, "POC:LETHARGIC"},
    {88, M, "POC:AGITATED"},
    {89, M, "POC:OTHERMENTAL"},
    {90, M, "POC:POOR"},
    {91, M, "POC:GUARDED"},
    {92, M, "POC:FAIR"},
    {93, M, "POC:GOOD"},
    {94, M, "POC:EXCELLENT"},
    {95, M, "POC:ORDERS"},
    {96, M, "POC:GOALS"},
    {97, PAT_FILE, "PAT:PHYSICIAN_NAME"},
};

void Locals(window::UseTable* uses) {
  uses->push_back(window::use::String(kCityLine, marks.city_line));
  uses->push_back(window::use::Byte(kMale, &marks.male));
  uses->push_back(window::use::Byte(kFemale, &marks.female));
  for (int i = 0; i < 7; ++i) uses->push_back(window::use::String(kCodes[i], marks.codes[i]));
}

std::string Clip(const char* text, size_t size) {
  std::string s(text, size);
  size_t end = s.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : s.substr(0, end + 1);
}

// A code kept as its digits alone ("42830") is shown through the code picture ("428.30"); one
// typed with its point or a letter ("428.3", "V45.81") is shown as typed.
void ShowCode(const char (&stored)[7], char (&shown)[7]) {
  std::string code = Clip(stored, sizeof stored);
  bool digits = !code.empty() && code.find_first_not_of("0123456789") == std::string::npos;
  if (digits) code = values::Format(std::stod(code), "@P###.##PB");
  std::memset(shown, ' ', sizeof shown);
  std::memcpy(shown, code.data(), std::min(code.size(), sizeof shown));
}

// "City,ST 12345": the zip code as a number of at most five characters.
void Prepare() {
  marks.male = PAT.SEX[0] == 'M' ? 1 : 0;
  marks.female = 1 - marks.male;
  std::string zip = std::to_string(int32_t{PAT.ZIPCODE}).substr(0, 5);
  std::string line =
      Clip(PAT.CITY, sizeof PAT.CITY) + "," + Clip(PAT.STATE, sizeof PAT.STATE) + " " + zip;
  for (int i = 0; i < 7; ++i) ShowCode(appdata::POC.ICD9[i], marks.codes[i]);
  std::memset(marks.city_line, ' ', sizeof marks.city_line);
  std::memcpy(marks.city_line, line.data(), std::min(line.size(), sizeof marks.city_line));
}

}  // namespace

const ReportTable kPrint485 = {
    .name = "PRINT485",
    .module = "carelog.cpp$carlg053",
    .report = "PRINT485$REPORT",
    .progress_window = "PRINT485$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kPoc,
    .order_key = "POC:RECNOKEY",
    .filter = "POC:Rec_No = Report:Save::POC:Rec_No",
    .selector_field = "POC:REC_NO",
    .selector_name = "Report:Save::POC:Rec_No",
    .expected = 1,
    .title = "Generating Report",
    .preview = true,
    .detail_band = 100,
    .patient_field = "POC:PATIENT_NUMBER",
    .uses = kUses,
    .hooks = {.locals = &Locals, .prepare = &Prepare},
};

// A printed plan is followed by its addenda; the plan's own answer is the procedure's. The run
// reads past the plan, so the plan's number is put back for the addenda's filter.
void PRINT485() {
  const int32_t plan = appdata::POC.REC_NO;
  RunReport(kPrint485);
  const int32_t printed = ProcResponse;
  if (printed == kRespCompleted) {
    appdata::POC.REC_NO = plan;
    CallProcedureByName("PRINTADDENDUM");
  }
  ProcResponse = printed;
}

}  // namespace carelog::app
