// PRINTCAREPLAN: one client care plan: its goals and the twelve rows of date, problem, approach and
// goals.
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kCarePlan, FileId::kPatients};

constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:NAME"},
    {11, FileId::kCarePlan, "CAR:PATIENT_NUMBER"},
    {12, FileId::kCarePlan, "CAR:FROM_DATE"},
    {13, FileId::kCarePlan, "CAR:TO_DATE"},
    {14, FileId::kCarePlan, "CAR:SHORT_TERM_GOALS"},
    {15, FileId::kCarePlan, "CAR:LONG_TERM_GOALS"},
    {16, FileId::kCarePlan, "CAR:DATE", 1},
    {17, FileId::kCarePlan, "CAR:PROBLEM", 1},
    {18, FileId::kCarePlan, "CAR:APPROACH", 1},
    {19, FileId::kCarePlan, "CAR:GOALS", 1},
    {20, FileId::kCarePlan, "CAR:DATE", 2},
    {21, FileId::kCarePlan, "CAR:PROBLEM", 2},
    {22, FileId::kCarePlan, "CAR:APPROACH", 2},
    {23, FileId::kCarePlan, "CAR:GOALS", 2},
    {24, FileId::kCarePlan, "CAR:DATE", 3},
    {25, FileId::kCarePlan, "CAR:PROBLEM", 3},
    {26, FileId::kCarePlan, "CAR:APPROACH", 3},
    {27, FileId::kCarePlan, "CAR:GOALS", 3},
    {28, FileId::kCarePlan, "CAR:DATE", 4},
    {29, FileId::kCarePlan, "CAR:PROBLEM", 4},
    {30, FileId::kCarePlan, "CAR:APPROACH", 4},
    {31, FileId::kCarePlan, "CAR:GOALS", 4},
    {32, FileId::kCarePlan, "CAR:DATE", 5},
    {33, FileId::kCarePlan, "CAR:PROBLEM", 5},
    {34, FileId::kCarePlan, "CAR:APPROACH", 5},
    {35, FileId::kCarePlan, "CAR:GOALS", 5},
    {36, FileId::kCarePlan, "CAR:DATE", 6},
    {37, FileId::kCarePlan, "CAR:PROBLEM", 6},
    {38, FileId::kCarePlan, "CAR:APPROACH", 6},
    {39, FileId::kCarePlan, "CAR:GOALS", 6},
    {40, FileId::kCarePlan, "CAR:DATE", 7},
    {41, FileId::kCarePlan, "CAR:PROBLEM", 7},
    {42, FileId::kCarePlan, "CAR:APPROACH", 7},
    {43, FileId::kCarePlan, "CAR:GOALS", 7},
    {44, FileId::kCarePlan, "CAR:DATE", 8},
    {45, FileId::kCarePlan, "CAR:PROBLEM", 8},
    {46, FileId::kCarePlan, "CAR:APPROACH", 8},
    {47, FileId::kCarePlan, "CAR:GOALS", 8},
    {48, FileId::kCarePlan, "CAR:DATE", 9},
    {49, FileId::kCarePlan, "CAR:PROBLEM", 9},
    {50, FileId::kCarePlan, "CAR:APPROACH", 9},
    {51, FileId::kCarePlan, "CAR:GOALS", 9},
    {52, FileId::kCarePlan, "CAR:DATE", 10},
    {53, FileId::kCarePlan, "CAR:PROBLEM", 10},
    {54, FileId::kCarePlan, "CAR:APPROACH", 10},
    {55, FileId::kCarePlan, "CAR:GOALS", 10},
    {56, FileId::kCarePlan, "CAR:DATE", 11},
    {57, FileId::kCarePlan, "CAR:PROBLEM", 11},
    {58, FileId::kCarePlan, "CAR:APPROACH", 11},
    {59, FileId::kCarePlan, "CAR:GOALS", 11},
    {60, FileId::kCarePlan, "CAR:DATE", 12},
    {61, FileId::kCarePlan, "CAR:PROBLEM", 12},
    {62, FileId::kCarePlan, "CAR:APPROACH", 12},
    {63, FileId::kCarePlan, "CAR:GOALS", 12},
};

}  // namespace

const ReportTable kPrintcareplan = {
    .name = "PRINTCAREPLAN",
    .module = "carelog.cpp$carlg057",
    .report = "PRINTCAREPLAN$REPORT",
    .progress_window = "PRINTCAREPLAN$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kCarePlan,
    .order_key = "CAR:RECORD_KEY",
    .filter = "CAR:Record_No = Report:Save::CAR:Record_No",
    .selector_field = "CAR:RECORD_NO",
    .selector_name = "Report:Save::CAR:Record_No",
    .expected = 1,
    .title = "Printing Report",
    .preview = false,
    .detail_band = 100,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {},
};

void PRINTCAREPLAN() {
  RunReport(kPrintcareplan);
}

}  // namespace carelog::app
