// UPDATEPATIENTS: The patient register entry, and the patient's records on one tab per file (plain
// form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/form_boxes.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "PAT:PATIENT_NUMBER"},
    {5, "PAT:AGENCY"},
    {7, "PAT:NAME"},
    {9, "PAT:FIRST_NAME"},
    {11, "PAT:LAST_NAME"},
    {13, "PAT:SOC"},
    {15, "PAT:FREQUENCY"},
    {17, "PAT:DX"},
    {18, "PAT:SEX"},
    {22, "PAT:HEIGHT"},
    {24, "PAT:WEIGHT"},
    {26, "PAT:ALLERGIES"},
    {28, "PAT:SOCIAL_SECURITY"},
    {30, "PAT:MEDICARE_NUMBER"},
    {32, "PAT:DATE_OF_BIRTH"},
    {34, "PAT:PHONE_NUMBER"},
    {36, "PAT:ADDRESS_1"},
    {38, "PAT:ADDRESS_2"},
    {40, "PAT:CITY"},
    {42, "PAT:STATE"},
    {44, "PAT:ZIPCODE"},
    {46, "PAT:PHYSICIAN_NAME"},
    {48, "PAT:PHARMACY"},
    {50, "PAT:PHARMACY_ADDRESS"},
    {52, "PAT:PHARMACY_PHONE"},
    {54, "PAT:NEXT_VISIT"},
    {55, "PAT:TIME_NEXT_VISIT"},
    {56, "PAT:PLANS_AND_PROGRESS"},
};

constexpr FieldLookupRow kLookups[] = {
    {46, "PAT:PHYSICIAN_NAME", FileId::kPhyscians, "PHY:DOCKEY", "PHY:DOCNO", "BROWSEPHYSICIANS",
     "PAT:Physician_Name", true},
};

}  // namespace

constexpr FormTable kUpdatePatients = {
    .name = "UPDATEPATIENTS",
    .module = "carelog.cpp$carlg027",
    .window = "UPDATEPATIENTS$QUICKWINDOW",
    .file = FileId::kPatients,
    .flavour = FormFlavour::kPlain,
    .title = "Patients",
    .number_key = "PAT:KEY_PATIENT_NUMBER",
    .number_field = "PAT:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kLookups,
    .boxes = kPatientBoxes,
    .ok_button = 113,
    .cancel_button = 114,
};

void UPDATEPATIENTS() {
  RunForm(kUpdatePatients);
}

}  // namespace carelog::app::procedures
