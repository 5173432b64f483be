// UPDATEPATIENTS: The patient register entry, and the patient's records on one tab per file (plain
// form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"

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
    {19, "PAT:SEX"},
    {23, "PAT:HEIGHT"},
    {25, "PAT:WEIGHT"},
    {27, "PAT:ALLERGIES"},
    {29, "PAT:SOCIAL_SECURITY"},
    {31, "PAT:MEDICARE_NUMBER"},
    {33, "PAT:DATE_OF_BIRTH"},
    {35, "PAT:PHONE_NUMBER"},
    {37, "PAT:ADDRESS_1"},
    {39, "PAT:ADDRESS_2"},
    {41, "PAT:CITY"},
    {43, "PAT:STATE"},
    {45, "PAT:ZIPCODE"},
    {47, "PAT:PHYSICIAN_NAME"},
    {49, "PAT:PHARMACY"},
    {51, "PAT:PHARMACY_ADDRESS"},
    {53, "PAT:PHARMACY_PHONE"},
    {55, "PAT:NEXT_VISIT"},
    {57, "PAT:TIME_NEXT_VISIT"},
    {59, "PAT:PLANS_AND_PROGRESS"},
};

constexpr LookupRow kLookups[] = {
    {47, "PAT:PHYSICIAN_NAME", FileId::kPhyscians, "PHY:DOCKEY", "PHY:DOCNO", "BROWSEPHYSICIANS",
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
    .ok_button = 113,
    .cancel_button = 114,
};

void UPDATEPATIENTS() {
  RunForm(kUpdatePatients);
}

}  // namespace carelog::app::procedures
