// ADDAPPOINT: An appointment (note form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "DAT:PATIENT_NUMBER"}, {5, "DAT:DAYNO"},  {7, "DAT:TIMEIN"},
    {9, "DAT:TIMEOUT"},        {11, "DAT:NOTES"},
};

constexpr FieldLookupRow kLookups[] = {
    {3, "DAT:PATIENT_NUMBER", FileId::kPatients, "PAT:KEY_PATIENT_NUMBER", "PAT:PATIENT_NUMBER",
     "BROWSEALL", "DAT:Patient_Number", false},
};

}  // namespace

constexpr FormTable kAddAppoint = {
    .name = "ADDAPPOINT",
    .module = "carelog.cpp$carlg037",
    .window = "ADDAPPOINT$FORMWINDOW",
    .file = FileId::kCalendar,
    .flavour = FormFlavour::kNote,
    .patient_field = "DAT:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void ADDAPPOINT() {
  RunForm(kAddAppoint);
}

}  // namespace carelog::app::procedures
