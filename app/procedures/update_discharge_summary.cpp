// UPDATEDISCHARGESUMMARY: A discharge summary (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/discharge_fields.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr const char* kDated[] = {"DIS:DATE"};
constexpr PrimedNumber kPrimedNumbers[] = {
    {"DIS:RN", 1},
};
}  // namespace

constexpr FormTable kUpdateDischargeSummary = {
    .name = "UPDATEDISCHARGESUMMARY",
    .module = "carelog.cpp$carlg048",
    .window = "UPDATEDISCHARGESUMMARY$QUICKWINDOW",
    .file = FileId::kDischargeSummary,
    .flavour = FormFlavour::kPlain,
    .title = "DischargeSummary",
    .number_key = "DIS:RECORD_KEY",
    .number_field = "DIS:RECORD_NO",
    .patient_field = "DIS:PATIENT_NUMBER",
    .dated_fields = kDated,
    .primed_numbers = kPrimedNumbers,
    .fields = kDischargeFields,
    .lookups = kDischargeLookups,
    .ok_button = 79,
    .cancel_button = 80,
};

void UPDATEDISCHARGESUMMARY() {
  RunForm(kUpdateDischargeSummary);
}

}  // namespace carelog::app::procedures
