// The update forms, run by the form engine from their tables (app/procedures/).
#include "app/procedure_entries.h"
#include "app/procedures/form_procedures.h"

namespace carelog::app {
namespace {

constexpr EntryPointRow kEntryPoints[] = {
    {"UPDATEPATIENTS", &procedures::UPDATEPATIENTS},
    {"UPDATEPROGRESSNOTES", &procedures::UPDATEPROGRESSNOTES},
    {"UPDATEADDENDUM", &procedures::UPDATEADDENDUM},
    {"ENTERORDERS", &procedures::ENTERORDERS},
    {"UPDATEHHA", &procedures::UPDATEHHA},
    {"UPDATEFAMILY", &procedures::UPDATEFAMILY},
    {"UPDATECAREPLAN", &procedures::UPDATECAREPLAN},
    {"UPDATENARRATIVE", &procedures::UPDATENARRATIVE},
    {"UPDATEMEDS", &procedures::UPDATEMEDS},
    {"DISCHARGESUMMARY", &procedures::DISCHARGESUMMARY},
    {"ADDAPPOINT", &procedures::ADDAPPOINT},
    {"UPDATEADDINFO", &procedures::UPDATEADDINFO},
    {"UPDATEPOC", &procedures::UPDATEPOC},
    {"UPDATESIXTYDAY", &procedures::UPDATESIXTYDAY},
    {"UPDATECALENDAR", &procedures::UPDATECALENDAR},
    {"UPDATEDOCTORS", &procedures::UPDATEDOCTORS},
    {"UPDATEMONTHCAL", &procedures::UPDATEMONTHCAL},
    {"UPDATECASECON", &procedures::UPDATECASECON},
    {"UPDATEORDERS", &procedures::UPDATEORDERS},
    {"UPDATEHHA_ASSIGN", &procedures::UPDATEHHA_ASSIGN},
    {"UPDATEMEDICATIONS", &procedures::UPDATEMEDICATIONS},
    {"UPDATEDISCHARGESUMMARY", &procedures::UPDATEDISCHARGESUMMARY},
    {"UPDATEPHYSCIANS", &procedures::UPDATEPHYSCIANS},
};

}  // namespace

std::span<const EntryPointRow> FormEntryPoints() {
  return kEntryPoints;
}

}  // namespace carelog::app
