// PRINTNARRATIVE: one narrative note with its patient.
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kNarrative, FileId::kPatients};

constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:NAME"},       {11, FileId::kNarrative, "NAR:PATIENT_NUMBER"},
    {12, FileId::kNarrative, "NAR:DATE"},      {13, FileId::kNarrative, "NAR:RECORD_NO"},
    {14, FileId::kNarrative, "NAR:NARRATIVE"},
};

}  // namespace

const ReportTable kPrintnarrative = {
    .name = "PRINTNARRATIVE",
    .module = "carelog.cpp$carlg058",
    .report = "PRINTNARRATIVE$REPORT",
    .progress_window = "PRINTNARRATIVE$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kNarrative,
    .order_key = "NAR:RECORD_KEY",
    .filter = "NAR:Record_No = Report:Save::NAR:Record_No",
    .selector_field = "NAR:RECORD_NO",
    .selector_name = "Report:Save::NAR:Record_No",
    .expected = 1,
    .title = "Generating Report",
    .preview = true,
    .detail_band = 100,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {},
};

void PRINTNARRATIVE() {
  RunReport(kPrintnarrative);
}

}  // namespace carelog::app
