// What the report pattern's bands show: the band controls bound to the fields they name, the
// patient lookup before a band and the blank record it falls back on.
#include <cstring>

#include "app/data/keys.h"
#include "app/data/records.h"
#include "app/patterns/form_record.h"
#include "app/patterns/report_run.h"
#include "runtime/store/file_statements.h"

namespace carelog::app {

void ReportRun::BuildReport() {
  window::UseTable uses;
  for (const ReportUse& use : table.uses) {
    FieldSlot slot = ResolveField(use.file, use.field, use.element);
    if (!slot.valid()) continue;  // the catalogue test names every unresolved field
    uses.push_back(window::use::Of(use.control, slot.storage.type, slot.address, slot.storage.size,
                                   slot.places));
    uses.back().variable.shown_blank = use.shown_blank;
  }
  if (table.hooks.locals) table.hooks.locals(&uses);
  report = std::make_unique<window::Structure>(window::StructureKind::kReport, table.report,
                                               table.module, std::move(uses));
}

void ClearRecord(appdata::FileId file) {
  const appdata::FileInfo& info = appdata::Info(file);
  uint8_t* record = appdata::Declaration(file).buffer;
  for (const appdata::FieldRow& field : info.fields) {
    if (field.type.code == store::kTypeGroup) continue;
    size_t size = size_t{appdata::ElementSize(field.type)} * appdata::ElementCount(field.type);
    bool text = field.type.code == store::kTypeString;
    std::memset(record + field.member_offset, text ? ' ' : 0, size);
  }
  appdata::BlankMemos(file);
}

void LookUpPatient(int32_t patient) {
  appdata::PAT.PATIENT_NUMBER = patient;
  if (store::Get(appdata::PatientsFile(), appdata::Key(appdata::PatKey::KEY_PATIENT_NUMBER)) != 0) {
    ClearRecord(appdata::FileId::kPatients);
  }
}

}  // namespace carelog::app
