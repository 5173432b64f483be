// DISCHARGESUMMARY: A discharge summary (note form).
#include "app/procedures/form_procedures.h"

#include "app/data/records.h"
#include "app/patterns/form_engine.h"
#include "app/patterns/form_record.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "DIS:PATIENT_NUMBER"},
    {5, "DIS:RECORD_NO"},
    {7, "DIS:DATE"},
    {9, "DIS:START_OF_CARE"},
    {11, "DIS:EXPIRED"},
    {13, "DIS:HOSPITAL"},
    {15, "DIS:OTHER"},
    {16, "DIS:RN"},
    {17, "DIS:PT"},
    {18, "DIS:OT"},
    {19, "DIS:ST"},
    {20, "DIS:HHA"},
    {22, "DIS:BP", 1},
    {23, "DIS:TEMPERATURE", 1},
    {24, "DIS:P", 1},
    {25, "DIS:R", 1},
    {26, "DIS:WEIGHT", 1},
    {28, "DIS:BP", 2},
    {29, "DIS:TEMPERATURE", 2},
    {30, "DIS:P", 2},
    {31, "DIS:R", 2},
    {32, "DIS:WEIGHT", 2},
    {33, "DIS:DIPSOITION", 1},
    {34, "DIS:DIPSOITION", 2},
    {35, "DIS:DIPSOITION", 3},
    {36, "DIS:DIPSOITION", 4},
    {37, "DIS:DIPSOITION", 5},
    {38, "DIS:DIPSOITION", 6},
    {39, "DIS:DIPSOITION", 7},
    {40, "DIS:DIPSOITION", 8},
    {41, "DIS:DIPSOITION", 9},
    {42, "DIS:DIPSOITION", 10},
    {43, "DIS:DIPSOITION", 11},
    {44, "DIS:DIPSOITION", 12},
    {45, "DIS:DIPSOITION", 13},
    {47, "DIS:OTHERNOTE"},
    {49, "DIS:PATIENT", 1},
    {50, "DIS:CAREGIVER", 1},
    {52, "DIS:PATIENT", 2},
    {53, "DIS:CAREGIVER", 2},
    {55, "DIS:PATIENT", 3},
    {56, "DIS:CAREGIVER", 3},
    {58, "DIS:PATIENT", 4},
    {59, "DIS:CAREGIVER", 4},
    {61, "DIS:PATIENT", 5},
    {62, "DIS:CAREGIVER", 5},
    {64, "DIS:PATIENT", 6},
    {65, "DIS:CAREGIVER", 6},
    {67, "DIS:PATIENT", 7},
    {68, "DIS:CAREGIVER", 7},
    {70, "DIS:PATIENT", 8},
    {71, "DIS:CAREGIVER", 8},
    {73, "DIS:PATIENT", 9},
    {74, "DIS:CAREGIVER", 9},
    {76, "DIS:GOALS_ACHIEVED"},
    {78, "DIS:MEDICATIONS"},
};

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
    .fields = kFields,
    .ok_button = 101,
    .cancel_button = 102,
};

void DISCHARGESUMMARY() {
  RunForm(kDischargeSummary);
}

}  // namespace carelog::app::procedures
