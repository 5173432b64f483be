// UPDATEPHYSCIANS: An attending physician (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/form_boxes.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "PHY:DOCNO"}, {5, "PHY:NAME"},   {7, "PHY:ADDRESS1"}, {9, "PHY:ADDRESS2"},
    {11, "PHY:CITY"}, {13, "PHY:STATE"}, {15, "PHY:ZIP"},     {17, "PHY:PHONE"},
};

}  // namespace

constexpr FormTable kUpdatePhyscians = {
    .name = "UPDATEPHYSCIANS",
    .module = "carelog.cpp$carlg049",
    .window = "UPDATEPHYSCIANS$QUICKWINDOW",
    .file = FileId::kPhyscians,
    .flavour = FormFlavour::kPlain,
    .title = "Physcians",
    .number_key = "PHY:DOCKEY",
    .number_field = "PHY:DOCNO",
    .fields = kFields,
    .boxes = kPhysicianPatientBoxes,
    .ok_button = 22,
    .cancel_button = 23,
};

void UPDATEPHYSCIANS() {
  RunForm(kUpdatePhyscians);
}

}  // namespace carelog::app::procedures
