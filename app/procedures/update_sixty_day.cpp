// UPDATESIXTYDAY: A sixty-day summary (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/patient_lookup.h"
#include "app/procedures/vital_ranges.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;
namespace vr = vital_ranges;

constexpr FieldBinding kFields[] = {
    {3, "SIX:PATIENT_NUMBER"},
    {5, "SIX:RECNO"},
    {7, "SIX:START_DATE"},
    {9, "SIX:END_DATE"},
    {11, "SIX:ABNL_LABS"},
    {13, "SIX:ABNL_SUGARS"},
    {15, "SIX:LOWTEMP"},
    {17, "SIX:HIGHTEMP"},
    {19, "SIX:LOWPULSE", 0, vr::kSixtyDayPulse},
    {21, "SIX:HIGHPULSE"},
    {23, "SIX:LOWRESP", 0, vr::kSixtyDayResp},
    {25, "SIX:HIGHRESP"},
    {27, "SIX:LOWBP", 0, vr::kSixtyDayBp},
    {29, "SIX:HIGHBP"},
    {31, "SIX:SUMMARY"},
};

constexpr FileId kAlsoOpens[] = {FileId::kProgressNotes};
constexpr PrimedNumber kPrimedNumbers[] = {
    {"SIX:LOWPULSE", vr::kSixtyDayPulse},
    {"SIX:LOWRESP", vr::kSixtyDayResp},
    {"SIX:LOWBP", vr::kSixtyDayBp},
};

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "SIX:PATIENT_NUMBER", "SIX:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdateSixtyDay = {
    .name = "UPDATESIXTYDAY",
    .module = "carelog.cpp$carlg040",
    .window = "UPDATESIXTYDAY$QUICKWINDOW",
    .file = FileId::kSixtyDay,
    .also_opens = kAlsoOpens,
    .flavour = FormFlavour::kPlain,
    .title = "SixtyDay",
    .shows_patient_name = true,
    .number_key = "SIX:RECNOKEY",
    .number_field = "SIX:RECNO",
    .patient_field = "SIX:PATIENT_NUMBER",
    .primed_numbers = kPrimedNumbers,
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 32,
    .cancel_button = 33,
};

void UPDATESIXTYDAY() {
  RunForm(kUpdateSixtyDay);
}

}  // namespace carelog::app::procedures
