// PRINTPROGRESS: one progress note on the nursing clinical progress note form.
#include "app/procedures/progress_note_form.h"
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kPatients, FileId::kProgressNotes};

}  // namespace

const ReportTable kPrintprogress = {
    .name = "PRINTPROGRESS",
    .module = "carelog.cpp$carlg052",
    .report = "PRINTPROGRESS$REPORT",
    .progress_window = "PRINTPROGRESS$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kProgressNotes,
    .order_key = "PRO:RECORD_NO_KEY",
    .filter = "PRO:Record_No = Report:Save::PRO:Record_No",
    .selector_field = "PRO:RECORD_NO",
    .selector_name = "Report:Save::PRO:Record_No",
    .expected = 1,
    .title = "Generating Report",
    .preview = true,
    .detail_band = progress_note::kBand,
    .patient_field = nullptr,
    .uses = progress_note::kUses,
    .hooks = {},
};

void PRINTPROGRESS() {
  RunReport(kPrintprogress);
}

}  // namespace carelog::app
