// PRINTDISCHARGE: one discharge summary: vital-sign ranges, disposition, discharge status, goals
// achieved and medications.
#include "app/procedures/report_procedures.h"
#include "app/procedures/vital_ranges.h"

namespace carelog::app {
namespace {

using appdata::FileId;
namespace vr = vital_ranges;
constexpr FileId kFiles[] = {FileId::kDischargeSummary, FileId::kPatients};

constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:NAME"},
    {11, FileId::kDischargeSummary, "DIS:RECORD_NO"},
    {12, FileId::kDischargeSummary, "DIS:DATE"},
    {13, FileId::kDischargeSummary, "DIS:START_OF_CARE"},
    {14, FileId::kDischargeSummary, "DIS:RN"},
    {15, FileId::kDischargeSummary, "DIS:PT"},
    {16, FileId::kDischargeSummary, "DIS:OT"},
    {17, FileId::kDischargeSummary, "DIS:ST"},
    {18, FileId::kDischargeSummary, "DIS:HHA"},
    {19, FileId::kDischargeSummary, "DIS:BP", 1, vr::kDischargeBp},
    {20, FileId::kDischargeSummary, "DIS:TEMPERATURE", 1, vr::kDischargeTemperature},
    {21, FileId::kDischargeSummary, "DIS:P", 1, vr::kDischargePulse},
    {22, FileId::kDischargeSummary, "DIS:R", 1, vr::kDischargeResp},
    {23, FileId::kDischargeSummary, "DIS:WEIGHT", 1, vr::kDischargeWeight},
    {24, FileId::kDischargeSummary, "DIS:BP", 2},
    {25, FileId::kDischargeSummary, "DIS:TEMPERATURE", 2},
    {26, FileId::kDischargeSummary, "DIS:P", 2},
    {27, FileId::kDischargeSummary, "DIS:R", 2},
    {28, FileId::kDischargeSummary, "DIS:WEIGHT", 2},
    {29, FileId::kDischargeSummary, "DIS:DIPSOITION", 1},
    {30, FileId::kDischargeSummary, "DIS:DIPSOITION", 2},
    {31, FileId::kDischargeSummary, "DIS:DIPSOITION", 3},
    {32, FileId::kDischargeSummary, "DIS:DIPSOITION", 4},
    {33, FileId::kDischargeSummary, "DIS:DIPSOITION", 5},
    {34, FileId::kDischargeSummary, "DIS:DIPSOITION", 6},
    {35, FileId::kDischargeSummary, "DIS:DIPSOITION", 7},
    {36, FileId::kDischargeSummary, "DIS:DIPSOITION", 8},
    {37, FileId::kDischargeSummary, "DIS:DIPSOITION", 9},
    {38, FileId::kDischargeSummary, "DIS:DIPSOITION", 10},
    {39, FileId::kDischargeSummary, "DIS:DIPSOITION", 11},
    {40, FileId::kDischargeSummary, "DIS:DIPSOITION", 12},
    {41, FileId::kDischargeSummary, "DIS:DIPSOITION", 13},
    {42, FileId::kDischargeSummary, "DIS:EXPIRED"},
    {43, FileId::kDischargeSummary, "DIS:HOSPITAL"},
    {44, FileId::kDischargeSummary, "DIS:OTHER"},
    {45, FileId::kDischargeSummary, "DIS:OTHERNOTE"},
    {46, FileId::kDischargeSummary, "DIS:PATIENT", 1},
    {47, FileId::kDischargeSummary, "DIS:CAREGIVER", 1},
    {48, FileId::kDischargeSummary, "DIS:PATIENT", 2},
    {49, FileId::kDischargeSummary, "DIS:CAREGIVER", 2},
    {50, FileId::kDischargeSummary, "DIS:PATIENT", 3},
    {51, FileId::kDischargeSummary, "DIS:CAREGIVER", 3},
    {52, FileId::kDischargeSummary, "DIS:PATIENT", 4},
    {53, FileId::kDischargeSummary, "DIS:CAREGIVER", 4},
    {54, FileId::kDischargeSummary, "DIS:PATIENT", 5},
    {55, FileId::kDischargeSummary, "DIS:CAREGIVER", 5},
    {56, FileId::kDischargeSummary, "DIS:PATIENT", 6},
    {57, FileId::kDischargeSummary, "DIS:CAREGIVER", 6},
    {58, FileId::kDischargeSummary, "DIS:PATIENT", 7},
    {59, FileId::kDischargeSummary, "DIS:CAREGIVER", 7},
    {60, FileId::kDischargeSummary, "DIS:PATIENT", 8},
    {61, FileId::kDischargeSummary, "DIS:CAREGIVER", 8},
    {62, FileId::kDischargeSummary, "DIS:PATIENT", 9},
    {63, FileId::kDischargeSummary, "DIS:CAREGIVER", 9},
    {64, FileId::kDischargeSummary, "DIS:GOALS_ACHIEVED"},
    {65, FileId::kDischargeSummary, "DIS:MEDICATIONS"},
};

}  // namespace

const ReportTable kPrintdischarge = {
    .name = "PRINTDISCHARGE",
    .module = "carelog.cpp$carlg060",
    .report = "PRINTDISCHARGE$REPORT",
    .progress_window = "PRINTDISCHARGE$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kDischargeSummary,
    .order_key = "DIS:RECORD_KEY",
    .filter = "DIS:Record_No = Report:Save::DIS:Record_No",
    .selector_field = "DIS:RECORD_NO",
    .selector_name = "Report:Save::DIS:Record_No",
    .expected = 1,
    .title = "Generating Report",
    .preview = true,
    .detail_band = 100,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {},
};

void PRINTDISCHARGE() {
  RunReport(kPrintdischarge);
}

}  // namespace carelog::app
