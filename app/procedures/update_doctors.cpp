// UPDATEDOCTORS: Another doctor of the patient (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "DOC:PATIENT_NUMBER"},
    {5, "DOC:DOCTOR_NAME"},
    {7, "DOC:TYPE"},
    {9, "DOC:PHONE"},
};

constexpr FieldLookupRow kLookups[] = {
    {3, "DOC:PATIENT_NUMBER", FileId::kPatients, "PAT:KEY_PATIENT_NUMBER", "PAT:PATIENT_NUMBER",
     "SELECTPATIENTS", "DOC:Patient_Number", false},
};

}  // namespace

constexpr FormTable kUpdateDoctors = {
    .name = "UPDATEDOCTORS",
    .module = "carelog.cpp$carlg042",
    .window = "UPDATEDOCTORS$QUICKWINDOW",
    .file = FileId::kDoctors,
    .flavour = FormFlavour::kPlain,
    .title = "Doctors",
    .patient_field = "DOC:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 10,
    .cancel_button = 11,
};

void UPDATEDOCTORS() {
  RunForm(kUpdateDoctors);
}

}  // namespace carelog::app::procedures
