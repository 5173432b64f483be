// PRINTLIST: the daily visit log of the chosen day, one line per visit with its patient, time in
// and out, type, hours and mileage mark.
#include <cstring>

#include "app/data/records.h"
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
using appdata::PRO;
constexpr FileId kFiles[] = {FileId::kPatients, FileId::kProgressNotes};

// The band's own variables (the report runs on its caller's thread).
struct VisitLine {
  int32_t day = 0;
  int32_t visit = 0;
  int32_t hours = 0;  // a standard time holding the visit's length
  char type[3] = {' ', ' ', ' '};
  uint8_t miles = 0;
  uint8_t no_miles = 0;
};
thread_local VisitLine line;

enum Control { kDay = 9, kVisit = 10, kHours = 15, kType = 14, kMiles = 16, kNoMiles = 17 };

constexpr ReportUse kUses[] = {
    {11, FileId::kPatients, "PAT:NAME"},
    {12, FileId::kProgressNotes, "PRO:TIME_IN"},
    {13, FileId::kProgressNotes, "PRO:TIME_OUT"},
};

void Start() {
  AskForTheDay();
  line = VisitLine{};
  line.day = PRO.DATE;
}

void Locals(window::UseTable* uses) {
  uses->push_back(window::use::Long(kDay, &line.day));
  uses->push_back(window::use::Long(kVisit, &line.visit));
  uses->push_back(window::use::Long(kHours, &line.hours));
  uses->push_back(window::use::String(kType, line.type));
  uses->push_back(window::use::Byte(kMiles, &line.miles));
  uses->push_back(window::use::Byte(kNoMiles, &line.no_miles));
}

// "HTO" / "O" for an emergency visit, "HT" / "S" for a scheduled one, the H forms when the
// visit is a discharge too.
const char* VisitType(const uint8_t (&type)[5]) {
  if (type[0]) return type[3] ? "HTO" : "O";
  if (type[2]) return type[3] ? "HT" : "S";
  return "";
}

void Prepare() {
  int32_t in = PRO.TIME_IN, out = PRO.TIME_OUT;
  // The length of the visit as a time of day (a standard time counts from 1); no length when
  // either time is missing or the visit ends before it starts.
  line.hours = in > 0 && out >= in ? out - in + 1 : 0;
  ++line.visit;
  uint8_t type[5];
  std::memcpy(type, PRO.TYPE_OF_VISIT, sizeof type);
  const char* code = VisitType(type);
  std::memset(line.type, ' ', sizeof line.type);
  std::memcpy(line.type, code, std::strlen(code));
  line.no_miles = PRO.MILAGE[0] == 'N' ? 1 : 0;
  line.miles = 1 - line.no_miles;
}

}  // namespace

const ReportTable kPrintlist = {
    .name = "PRINTLIST",
    .module = "carelog.cpp$carlg051",
    .report = "PRINTLIST$REPORT",
    .progress_window = "PRINTLIST$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kProgressNotes,
    .order_key = "PRO:KEY_DATE",
    .filter = "PRO:Date = Report:Save::PRO:Date",
    .selector_field = "PRO:DATE",
    .selector_name = "Report:Save::PRO:Date",
    .expected = 10,
    .title = "Generating Report",
    .preview = true,
    .detail_band = 100,
    .patient_field = "PRO:PATIENT_NUMBER",
    .uses = kUses,
    .hooks = {.start = &Start, .locals = &Locals, .prepare = &Prepare},
};

void PRINTLIST() {
  RunReport(kPrintlist);
}

}  // namespace carelog::app
