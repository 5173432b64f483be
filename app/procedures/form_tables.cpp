#include "app/procedures/form_procedures.h"

namespace carelog::app::procedures {

namespace {
constexpr const FormTable* kTables[] = {
    &kUpdatePatients,    &kUpdateProgressNotes,    &kUpdateAddendum,  &kEnterOrders,
    &kUpdateHha,         &kUpdateFamily,           &kUpdateCarePlan,  &kUpdateNarrative,
    &kUpdateMeds,        &kDischargeSummary,       &kAddAppoint,      &kUpdateAddInfo,
    &kUpdatePoc,         &kUpdateSixtyDay,         &kUpdateCalendar,  &kUpdateDoctors,
    &kUpdateMonthCal,    &kUpdateCaseCon,          &kUpdateOrders,    &kUpdateHhaAssign,
    &kUpdateMedications, &kUpdateDischargeSummary, &kUpdatePhyscians,
};
}  // namespace

std::span<const FormTable* const> FormTables() {
  return kTables;
}

}  // namespace carelog::app::procedures
