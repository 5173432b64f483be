// UPDATEMEDICATIONS: A medication sheet (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/medication_fields.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr const char* kDated[] = {"MED:DATE"};
}  // namespace

constexpr FormTable kUpdateMedications = {
    .name = "UPDATEMEDICATIONS",
    .module = "carelog.cpp$carlg047",
    .window = "UPDATEMEDICATIONS$QUICKWINDOW",
    .file = FileId::kMedications,
    .flavour = FormFlavour::kPlain,
    .title = "Medications",
    .number_key = "MED:RECORD_KEY",
    .number_field = "MED:RECORD_NO",
    .patient_field = "MED:PATIENT_NUMBER",
    .dated_fields = kDated,
    .fields = kMedicationFields,
    .lookups = kMedicationLookups,
    .ok_button = 136,
    .cancel_button = 137,
};

void UPDATEMEDICATIONS() {
  RunForm(kUpdateMedications);
}

}  // namespace carelog::app::procedures
