// PRINTNEWMEDS: one medication profile: patient, pharmacy, physician, allergies and the sixteen
// medication lines with their start and stop dates.
#include <array>

#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kMedications, FileId::kPatients};
constexpr FileId M = FileId::kMedications;
constexpr FileId PAT = FileId::kPatients;

constexpr int kLines = 16;
// The columns of a medication line; line r's control of column c is 200 + 10 r + c.
constexpr const char* kColumns[] = {"MED:START_DATE", "MED:DRUG",  "MED:DOSE",
                                    "MED:FREQ_ROUTE", "MED:CLASS", "MED:DC_DATE"};
constexpr ReportUse kHead[] = {
    {10, PAT, "PAT:NAME"},
    {11, M, "MED:DATE"},
    {12, PAT, "PAT:PHARMACY"},
    {13, PAT, "PAT:PHARMACY_ADDRESS"},
    {14, PAT, "PAT:PHARMACY_PHONE"},
    {15, PAT, "PAT:PHYSICIAN_NAME"},
    {16, PAT, "PAT:ALLERGIES"},
    {17, M, "MED:PATIENT_NUMBER"},
    {400, M, "MED:A", 1},
    {401, M, "MED:A", 2},
    {402, M, "MED:SE", 1},
    {403, M, "MED:SE", 2},
    {404, M, "MED:CI", 1},
    {405, M, "MED:CI", 2},
    {406, M, "MED:CLASS_CODE", 1},
    {407, M, "MED:CLASS_CODE", 2},
};

constexpr auto MakeUses() {
  std::array<ReportUse, std::size(kHead) + kLines * std::size(kColumns)> uses{};
  size_t n = 0;
  for (const ReportUse& use : kHead) uses[n++] = use;
  for (int line = 0; line < kLines; ++line) {
    for (size_t c = 0; c < std::size(kColumns); ++c) {
      uses[n++] = {200 + 10 * line + static_cast<int>(c), M, kColumns[c],
                   static_cast<uint32_t>(line + 1)};
    }
  }
  return uses;
}
constexpr auto kUses = MakeUses();

}  // namespace

const ReportTable kPrintnewmeds = {
    .name = "PRINTNEWMEDS",
    .module = "carelog.cpp$carlg059",
    .report = "PRINTNEWMEDS$REPORT",
    .progress_window = "PRINTNEWMEDS$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kMedications,
    .order_key = "MED:RECORD_KEY",
    .filter = "MED:Record_No = Report:Save::MED:Record_No",
    .selector_field = "MED:RECORD_NO",
    .selector_name = "Report:Save::MED:Record_No",
    .expected = 1,
    .title = "Printing Report",
    .preview = false,
    .detail_band = 100,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {},
};

void PRINTNEWMEDS() {
  RunReport(kPrintnewmeds);
}

}  // namespace carelog::app
