// PRINTTODAY: every progress note of the chosen day, each on the nursing clinical progress
// note form, with its patient looked up.
#include "app/procedures/progress_note_form.h"
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kPatients, FileId::kProgressNotes};

}  // namespace

const ReportTable kPrinttoday = {
    .name = "PRINTTODAY",
    .module = "carelog.cpp$carlg050",
    .report = "PRINTTODAY$REPORT",
    .progress_window = "PRINTTODAY$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kProgressNotes,
    .order_key = "PRO:KEY_DATE",
    .filter = "PRO:Date = Report:Save::PRO:Date",
    .selector_field = "PRO:DATE",
    .selector_name = "Report:Save::PRO:Date",
    .expected = 10,
    .title = "Generating Report",
    .preview = true,
    .detail_band = progress_note::kBand,
    .patient_field = "PRO:PATIENT_NUMBER",
    .uses = progress_note::kUses,
    .hooks = {.start = &AskForTheDay},
};

void PRINTTODAY() {
  RunReport(kPrinttoday);
}

}  // namespace carelog::app
