// UPDATECALENDAR: An appointment (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "DAT:PATIENT_NUMBER"}, {5, "DAT:DAYNO"},  {7, "DAT:TIMEIN"},
    {9, "DAT:TIMEOUT"},        {11, "DAT:NOTES"},
};

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "DAT:PATIENT_NUMBER", "DAT:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdateCalendar = {
    .name = "UPDATECALENDAR",
    .module = "carelog.cpp$carlg041",
    .window = "UPDATECALENDAR$QUICKWINDOW",
    .file = FileId::kCalendar,
    .flavour = FormFlavour::kPlain,
    .title = "Calendar",
    .patient_field = "DAT:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 12,
    .cancel_button = 13,
};

void UPDATECALENDAR() {
  RunForm(kUpdateCalendar);
}

}  // namespace carelog::app::procedures
