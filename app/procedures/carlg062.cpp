// PRINTINFO: the patient information sheet.
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kPatients};

constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:NAME"},
    {11, FileId::kPatients, "PAT:PATIENT_NUMBER"},
    {12, FileId::kPatients, "PAT:AGENCY"},
    {13, FileId::kPatients, "PAT:DATE_OF_BIRTH"},
    {14, FileId::kPatients, "PAT:SOCIAL_SECURITY"},
    {15, FileId::kPatients, "PAT:MEDICARE_NUMBER"},
    {16, FileId::kPatients, "PAT:PHONE_NUMBER"},
    {17, FileId::kPatients, "PAT:SEX"},
    {18, FileId::kPatients, "PAT:ADDRESS_1"},
    {19, FileId::kPatients, "PAT:ADDRESS_2"},
    {20, FileId::kPatients, "PAT:CITY"},
    {21, FileId::kPatients, "PAT:STATE"},
    {22, FileId::kPatients, "PAT:ALLERGIES"},
    {23, FileId::kPatients, "PAT:ZIPCODE"},
    {24, FileId::kPatients, "PAT:SOC"},
    {25, FileId::kPatients, "PAT:FREQUENCY"},
    {26, FileId::kPatients, "PAT:NEXT_VISIT"},
    {27, FileId::kPatients, "PAT:TIME_NEXT_VISIT"},
    {28, FileId::kPatients, "PAT:PHARMACY"},
    {29, FileId::kPatients, "PAT:PHARMACY_PHONE"},
    {30, FileId::kPatients, "PAT:DX"},
    {31, FileId::kPatients, "PAT:PLANS_AND_PROGRESS"},
};

}  // namespace

const ReportTable kPrintinfo = {
    .name = "PRINTINFO",
    .module = "carelog.cpp$carlg062",
    .report = "PRINTINFO$REPORT",
    .progress_window = "PRINTINFO$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kPatients,
    .order_key = "PAT:KEY_PATIENT_NUMBER",
    .filter = "PAT:Patient_Number = Report:Save::PAT:Patient_Number",
    .selector_field = "PAT:PATIENT_NUMBER",
    .selector_name = "Report:Save::PAT:Patient_Number",
    .expected = 1,
    .title = "Printing Report",
    .preview = false,
    .detail_band = 100,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {},
};

void PRINTINFO() {
  RunReport(kPrintinfo);
}

}  // namespace carelog::app
