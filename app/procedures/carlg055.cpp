// PRINTSUMMARY: one sixty-day summary with its patient looked up: the ranges of vitals, abnormal
// labs and sugars and the summary text.
#include "app/procedures/report_procedures.h"
#include "app/procedures/vital_ranges.h"

namespace carelog::app {
namespace {

using appdata::FileId;
namespace vr = vital_ranges;
constexpr FileId kFiles[] = {FileId::kPatients, FileId::kSixtyDay};

constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:NAME"},
    {11, FileId::kSixtyDay, "SIX:PATIENT_NUMBER"},
    {12, FileId::kSixtyDay, "SIX:START_DATE"},
    {13, FileId::kSixtyDay, "SIX:END_DATE"},
    {14, FileId::kSixtyDay, "SIX:LOWTEMP"},
    {15, FileId::kSixtyDay, "SIX:HIGHTEMP"},
    {16, FileId::kSixtyDay, "SIX:LOWPULSE", 0, vr::kSixtyDayPulse},
    {17, FileId::kSixtyDay, "SIX:HIGHPULSE"},
    {18, FileId::kSixtyDay, "SIX:LOWRESP", 0, vr::kSixtyDayResp},
    {19, FileId::kSixtyDay, "SIX:HIGHRESP"},
    {20, FileId::kSixtyDay, "SIX:LOWBP", 0, vr::kSixtyDayBp},
    {21, FileId::kSixtyDay, "SIX:HIGHBP"},
    {22, FileId::kSixtyDay, "SIX:ABNL_LABS"},
    {23, FileId::kSixtyDay, "SIX:ABNL_SUGARS"},
    {24, FileId::kSixtyDay, "SIX:SUMMARY"},
};

}  // namespace

const ReportTable kPrintsummary = {
    .name = "PRINTSUMMARY",
    .module = "carelog.cpp$carlg055",
    .report = "PRINTSUMMARY$REPORT",
    .progress_window = "PRINTSUMMARY$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kSixtyDay,
    .order_key = "SIX:RECNOKEY",
    .filter = "SIX:RecNo = Report:Save::SIX:RecNo",
    .selector_field = "SIX:RECNO",
    .selector_name = "Report:Save::SIX:RecNo",
    .expected = 1,
    .title = "Printing Report",
    .preview = false,
    .detail_band = 100,
    .patient_field = "SIX:PATIENT_NUMBER",
    .uses = kUses,
    .hooks = {},
};

void PRINTSUMMARY() {
  RunReport(kPrintsummary);
}

}  // namespace carelog::app
