// UPDATEMEDS: A medication sheet (note form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/medication_fields.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr const char* kDated[] = {"MED:DATE"};
constexpr PrimedText kPrimedTexts[] = {
    {"MED:CLASS_CODE", "None", 1},
    {"MED:CLASS_CODE", "None", 2},
};

}  // namespace

constexpr FormTable kUpdateMeds = {
    .name = "UPDATEMEDS",
    .module = "carelog.cpp$carlg035",
    .window = "UPDATEMEDS$FORMWINDOW",
    .file = FileId::kMedications,
    .flavour = FormFlavour::kNote,
    .number_key = "MED:RECORD_KEY",
    .number_field = "MED:RECORD_NO",
    .patient_field = "MED:PATIENT_NUMBER",
    .dated_fields = kDated,
    .primed_texts = kPrimedTexts,
    .fields = kMedicationFields,
    .field_controls = {101, 2},
    .lookups = kMedicationLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void UPDATEMEDS() {
  RunForm(kUpdateMeds);
}

}  // namespace carelog::app::procedures
