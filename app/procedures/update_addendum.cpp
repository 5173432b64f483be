// UPDATEADDENDUM: Addendum text to a plan of care (note form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "ADD:RECNO"},
    {5, "ADD:ADDINFO"},
};

}  // namespace

constexpr FormTable kUpdateAddendum = {
    .name = "UPDATEADDENDUM",
    .module = "carelog.cpp$carlg029",
    .window = "UPDATEADDENDUM$FORMWINDOW",
    .file = FileId::kAddInfo,
    .flavour = FormFlavour::kNote,
    .fields = kFields,
    .ok_button = 101,
    .cancel_button = 102,
};

void UPDATEADDENDUM() {
  RunForm(kUpdateAddendum);
}

}  // namespace carelog::app::procedures
