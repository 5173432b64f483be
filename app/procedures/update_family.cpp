// UPDATEFAMILY: A family contact of the patient (note form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "FAM:PATIENT_NUMBER"},
    {5, "FAM:NAME"},
    {7, "FAM:RELATIONSHIP"},
    {9, "FAM:PHONE"},
};

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "FAM:PATIENT_NUMBER", "FAM:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdateFamily = {
    .name = "UPDATEFAMILY",
    .module = "carelog.cpp$carlg032",
    .window = "UPDATEFAMILY$FORMWINDOW",
    .file = FileId::kFamily,
    .flavour = FormFlavour::kNote,
    .patient_field = "FAM:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void UPDATEFAMILY() {
  RunForm(kUpdateFamily);
}

}  // namespace carelog::app::procedures
