// ENTERORDERS: A physician's order (note form).
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

constexpr FormTable kEnterOrders = {
    .name = "ENTERORDERS",
    .module = "carelog.cpp$carlg030",
    .window = "ENTERORDERS$FORMWINDOW",
    .file = FileId::kOrders,
    .flavour = FormFlavour::kNote,
    .number_key = "ORD:RECNOKEY",
    .number_field = "ORD:RECNO",
    .patient_field = "ORD:PATIENT_NUMBER",
    .fields = kFields,
    .lookups = kOrderLookups,
    .ok_button = 101,
    .cancel_button = 102,
};

void ENTERORDERS() {
  RunForm(kEnterOrders);
}

}  // namespace carelog::app::procedures
