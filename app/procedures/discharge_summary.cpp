// DISCHARGESUMMARY: A discharge summary (note form).
#include "app/procedures/form_procedures.h"

#include "app/data/records.h"
#include "app/patterns/form_engine.h"
#include "app/patterns/form_record.h"
#include "app/procedures/discharge_fields.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FileId kAlsoOpens[] = {FileId::kPatients, FileId::kProgressNotes, FileId::kMedications};
constexpr const char* kDated[] = {"DIS:DATE"};
constexpr PrimedNumber kPrimedNumbers[] = {
    {"DIS:RN", 1},     {"DIS:BP", 9999999, 1}, {"DIS:TEMPERATURE", 1100, 1},
    {"DIS:P", 150, 1}, {"DIS:R", 100, 1},      {"DIS:WEIGHT", 99999, 1},
};

// The summary's start of care is the patient's.
void PrimeFromPatient() {
  appdata::DIS.START_OF_CARE = int32_t{appdata::PAT.SOC};
}

}  // namespace

constexpr FormTable kDischargeSummary = {
    .name = "DISCHARGESUMMARY",
    .module = "carelog.cpp$carlg036",
    .window = "DISCHARGESUMMARY$FORMWINDOW",
    .file = FileId::kDischargeSummary,
    .also_opens = kAlsoOpens,
    .flavour = FormFlavour::kNote,
    .shows_patient_name = true,
    .number_key = "DIS:RECORD_KEY",
    .number_field = "DIS:RECORD_NO",
    .patient_field = "DIS:PATIENT_NUMBER",
    .dated_fields = kDated,
    .primed_numbers = kPrimedNumbers,
    .prime = PrimeFromPatient,
    .fields = kDischargeFields,
    .lookups = kDischargeLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void DISCHARGESUMMARY() {
  RunForm(kDischargeSummary);
}

}  // namespace carelog::app::procedures
