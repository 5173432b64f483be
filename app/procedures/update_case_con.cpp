// UPDATECASECON: A case conference (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "CAS:PATEINTNUMBER"}, {5, "CAS:RECNO"},          {7, "CAS:DATE"},   {9, "CAS:PARTICIPANTS"},
    {11, "CAS:PROBLEMS"},     {13, "CAS:INTERVENTIONS"}, {15, "CAS:GOALS"},
};

constexpr const char* kDated[] = {"CAS:DATE"};

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "CAS:PATEINTNUMBER", "CAS:PateintNumber"),
};

}  // namespace

constexpr FormTable kUpdateCaseCon = {
    .name = "UPDATECASECON",
    .module = "carelog.cpp$carlg044",
    .window = "UPDATECASECON$QUICKWINDOW",
    .file = FileId::kCaseCon,
    .flavour = FormFlavour::kPlain,
    .title = "CaseCon",
    .shows_patient_name = true,
    .number_key = "CAS:RECNOKEY",
    .number_field = "CAS:RECNO",
    .patient_field = "CAS:PATEINTNUMBER",
    .dated_fields = kDated,
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 16,
    .cancel_button = 17,
};

void UPDATECASECON() {
  RunForm(kUpdateCaseCon);
}

}  // namespace carelog::app::procedures
