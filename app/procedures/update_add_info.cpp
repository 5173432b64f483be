// UPDATEADDINFO: Addendum text to a plan of care (plain form).
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

constexpr FormTable kUpdateAddInfo = {
    .name = "UPDATEADDINFO",
    .module = "carelog.cpp$carlg038",
    .window = "UPDATEADDINFO$QUICKWINDOW",
    .file = FileId::kAddInfo,
    .flavour = FormFlavour::kPlain,
    .fixed_titles = true,
    .fields = kFields,
    .ok_button = 6,
    .cancel_button = 7,
};

void UPDATEADDINFO() {
  RunForm(kUpdateAddInfo);
}

}  // namespace carelog::app::procedures
