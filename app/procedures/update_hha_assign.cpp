// UPDATEHHA_ASSIGN: A home health aide's assignment sheet (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/hha_fields.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

}  // namespace

constexpr FormTable kUpdateHhaAssign = {
    .name = "UPDATEHHA_ASSIGN",
    .module = "carelog.cpp$carlg046",
    .window = "UPDATEHHA_ASSIGN$QUICKWINDOW",
    .file = FileId::kHhaAssign,
    .flavour = FormFlavour::kPlain,
    .title = "HHA_Assign",
    .number_key = "HHA:REC_NO_KEY",
    .number_field = "HHA:REC_NO",
    .patient_field = "HHA:PATIENT_NUMBER",
    .fields = kHhaFields,
    .ok_button = 174,
    .cancel_button = 175,
};

void UPDATEHHA_ASSIGN() {
  RunForm(kUpdateHhaAssign);
}

}  // namespace carelog::app::procedures
