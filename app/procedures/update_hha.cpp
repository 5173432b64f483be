// UPDATEHHA: A home health aide's assignment sheet (note form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/hha_fields.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr const char* kDated[] = {"HHA:DATE"};

}  // namespace

constexpr FormTable kUpdateHha = {
    .name = "UPDATEHHA",
    .module = "carelog.cpp$carlg031",
    .window = "UPDATEHHA$FORMWINDOW",
    .file = FileId::kHhaAssign,
    .flavour = FormFlavour::kNote,
    .number_key = "HHA:REC_NO_KEY",
    .number_field = "HHA:REC_NO",
    .patient_field = "HHA:PATIENT_NUMBER",
    .dated_fields = kDated,
    .fields = kHhaFields,
    .field_controls = {101, 2},
    .ok_button = 101,
    .cancel_button = 102,
};

void UPDATEHHA() {
  RunForm(kUpdateHha);
}

}  // namespace carelog::app::procedures
