// PRINTADDENDUM: the addenda of the current plan of care, one page each, on the plan-of-treatment
// addendum form. Before each page the addendum's plan is read and the plan's patient looked up.
#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/procedures/report_procedures.h"
#include "runtime/store/file_statements.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kAddInfo, FileId::kPoc, FileId::kPatients};

enum Control { kPlanOfTreatment = 20, kMedicalUpdate = 21 };

// The form's "ADDENDUM TO:" marks: an addendum always belongs to a plan of treatment.
struct AddendumMarks {
  uint8_t plan_of_treatment = 1;
  uint8_t medical_update = 0;
};
thread_local AddendumMarks marks;

constexpr ReportUse kUses[] = {
    {10, FileId::kPatients, "PAT:MEDICARE_NUMBER"},
    {11, FileId::kPatients, "PAT:SOC"},
    {12, FileId::kPoc, "POC:FROMDATE"},
    {13, FileId::kPoc, "POC:TODATE"},
    {14, FileId::kPoc, "POC:MEDRECNO"},
    {15, FileId::kPatients, "PAT:NAME"},
    {16, FileId::kAddInfo, "ADD:ADDINFO"},
    {17, FileId::kPatients, "PAT:PHYSICIAN_NAME"},
};

void Locals(window::UseTable* uses) {
  uses->push_back(window::use::Byte(kPlanOfTreatment, &marks.plan_of_treatment));
  uses->push_back(window::use::Byte(kMedicalUpdate, &marks.medical_update));
}

// The addendum's plan, or a blank plan that still carries the addendum's plan number: the view's
// filter compares the addenda with POC:Rec_No, so clearing it would end the run early.
void Prepare() {
  int32_t plan = appdata::ADD.RECNO;
  appdata::POC.REC_NO = plan;
  if (store::Get(appdata::PocFile(), appdata::Key(appdata::PocKey::RECNOKEY)) != 0) {
    ClearRecord(FileId::kPoc);
    appdata::POC.REC_NO = plan;
  }
  LookUpPatient(appdata::POC.PATIENT_NUMBER);
}

}  // namespace

const ReportTable kPrintaddendum = {
    .name = "PRINTADDENDUM",
    .module = "carelog.cpp$carlg054",
    .report = "PRINTADDENDUM$REPORT",
    .progress_window = "PRINTADDENDUM$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kAddInfo,
    .order_key = "ADD:RECNOKEY",
    .filter = "ADD:RecNo = POC:Rec_No",
    .selector_field = nullptr,
    .selector_name = nullptr,
    .expected = 1,
    .title = "Generating Report",
    .preview = true,
    .detail_band = 100,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {.locals = &Locals, .prepare = &Prepare},
};

void PRINTADDENDUM() {
  RunReport(kPrintaddendum);
}

}  // namespace carelog::app
