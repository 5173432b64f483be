// UPDATEMONTHCAL: a patient's month calendar (plain form over the month grid). Each day cell
// carries a note asked for through GETINFO; the record keeps the month it was left on.
#include "app/calendar.h"
#include "app/patterns/form_engine.h"
#include "app/procedures/form_procedures.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {{51, "MON:PATIENT_NUMBER"}, {53, "MON:RECNO"}};

constexpr const char* kDated[] = {"MON:CALENDARDATE"};

constexpr int kOk = 48;

constexpr MonthGridRow kGrid = {
    .date_field = "MON:CALENDARDATE",
    .day_field = "MON:DAYNO",
    .note_field = "MON:DAY_INFO",
    .after_note = kOk,
    .ask_note = &GetInfo,
};

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(51, "MON:PATIENT_NUMBER", "MON:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdateMonthCal = {
    .name = "UPDATEMONTHCAL",
    .module = "carelog.cpp$carlg043",
    .window = "UPDATEMONTHCAL$QUICKWINDOW",
    .file = FileId::kMonthCal,
    .flavour = FormFlavour::kPlain,
    .title = "MonthCal",
    .number_key = "MON:RECNOKEY",
    .number_field = "MON:RECNO",
    .patient_field = "MON:PATIENT_NUMBER",
    .dated_fields = kDated,
    .fields = kFields,
    .lookups = kLookups,
    .month_grid = &kGrid,
    .ok_button = kOk,
    .cancel_button = 49,
};

void UPDATEMONTHCAL() {
  RunForm(kUpdateMonthCal);
}

}  // namespace carelog::app::procedures
