// PRINTCASECON: one client case conference: participants, problems identified, suggested
// interventions and goals.
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kCaseCon, FileId::kPatients};

constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:NAME"},         {11, FileId::kCaseCon, "CAS:DATE"},
    {12, FileId::kCaseCon, "CAS:PATEINTNUMBER"}, {13, FileId::kCaseCon, "CAS:PARTICIPANTS"},
    {14, FileId::kCaseCon, "CAS:PROBLEMS"},      {15, FileId::kCaseCon, "CAS:INTERVENTIONS"},
    {16, FileId::kCaseCon, "CAS:GOALS"},
};

}  // namespace

const ReportTable kPrintcasecon = {
    .name = "PRINTCASECON",
    .module = "carelog.cpp$carlg063",
    .report = "PRINTCASECON$REPORT",
    .progress_window = "PRINTCASECON$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kCaseCon,
    .order_key = "CAS:RECNOKEY",
    .filter = "CAS:RecNo = Report:Save::CAS:RecNo",
    .selector_field = "CAS:RECNO",
    .selector_name = "Report:Save::CAS:RecNo",
    .expected = 500,
    .title = "Generating Report",
    .preview = true,
    .detail_band = 100,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {},
};

void PRINTCASECON() {
  RunReport(kPrintcasecon);
}

}  // namespace carelog::app
