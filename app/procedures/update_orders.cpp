// UPDATEORDERS: A physician's order (plain form).
#include "app/procedures/form_procedures.h"

#include "app/patterns/form_engine.h"
#include "app/procedures/patient_lookup.h"

namespace carelog::app::procedures {
namespace {

using appdata::FileId;

constexpr FieldBinding kFields[] = {
    {3, "ORD:PATIENT_NUMBER"},
    {5, "ORD:RECNO"},
    {7, "ORD:DATE"},
    {9, "ORD:ORDERS"},
};

}  // namespace

constexpr FormTable kUpdateOrders = {
    .name = "UPDATEORDERS",
    .module = "carelog.cpp$carlg045",
    .window = "UPDATEORDERS$QUICKWINDOW",
    .file = FileId::kOrders,
    .flavour = FormFlavour::kPlain,
    .title = "Orders",
    .number_key = "ORD:RECNOKEY",
    .number_field = "ORD:RECNO",
    .patient_field = "ORD:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kOrderLookups,
    .ok_button = 10,
    .cancel_button = 11,
};

void UPDATEORDERS() {
  RunForm(kUpdateOrders);
}

}  // namespace carelog::app::procedures
