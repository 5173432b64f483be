// UPDATENARRATIVE: A narrative note (note form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "NAR:PATIENT_NUMBER"},
    {5, "NAR:RECORD_NO"},
    {7, "NAR:DATE"},
    {9, "NAR:NARRATIVE"},
};

constexpr const char* kDated[] = {"NAR:DATE"};

constexpr FieldLookupRow kLookups[] = {
    PatientLookup(3, "NAR:PATIENT_NUMBER", "NAR:Patient_Number"),
};

}  // namespace

constexpr FormTable kUpdateNarrative = {
    .name = "UPDATENARRATIVE",
    .module = "carelog.cpp$carlg034",
    .window = "UPDATENARRATIVE$FORMWINDOW",
    .file = FileId::kNarrative,
    .flavour = FormFlavour::kNote,
    .number_key = "NAR:RECORD_KEY",
    .number_field = "NAR:RECORD_NO",
    .patient_field = "NAR:PATIENT_NUMBER",
    .dated_fields = kDated,
    .fields = kFields,
    .lookups = kLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void UPDATENARRATIVE() {
  RunForm(kUpdateNarrative);
}

}  // namespace carelog::app::procedures
