// DISCHARGESUMMARY: A discharge summary (note form).
#include "app/procedures/form_procedures.h"

#include "app/data/records.h"
#include "app/patterns/form_engine.h"
#include "app/patterns/form_record.h"
#include "app/procedures/discharge_fields.h"
#include "app/procedures/vital_ranges.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FileId kAlsoOpens[] = {FileId::kPatients, FileId::kProgressNotes, FileId::kMedications};
constexpr const char* kDated[] = {"DIS:DATE"};
namespace vr = vital_ranges;
constexpr PrimedNumber kPrimedNumbers[] = {
    {"DIS:RN", 1},
    {"DIS:BP", vr::kDischargeBp, 1},
    {"DIS:TEMPERATURE", vr::kDischargeTemperature, 1},
    {"DIS:P", vr::kDischargePulse, 1},
    {"DIS:R", vr::kDischargeResp, 1},
    {"DIS:WEIGHT", vr::kDischargeWeight, 1},
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
