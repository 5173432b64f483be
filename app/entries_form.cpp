// The update forms, run by the form engine from their tables. A run function of nullptr: not built
// yet.
#include "app/procedure_entries.h"

namespace carelog::app {
namespace {

constexpr EntryPointRow kEntryPoints[] = {
    {"UPDATEPATIENTS", nullptr},    {"UPDATEPROGRESSNOTES", nullptr},
    {"UPDATEADDENDUM", nullptr},    {"ENTERORDERS", nullptr},
    {"UPDATEHHA", nullptr},         {"UPDATEFAMILY", nullptr},
    {"UPDATECAREPLAN", nullptr},    {"UPDATENARRATIVE", nullptr},
    {"UPDATEMEDS", nullptr},        {"DISCHARGESUMMARY", nullptr},
    {"ADDAPPOINT", nullptr},        {"UPDATEADDINFO", nullptr},
    {"UPDATEPOC", nullptr},         {"UPDATESIXTYDAY", nullptr},
    {"UPDATECALENDAR", nullptr},    {"UPDATEDOCTORS", nullptr},
    {"UPDATEMONTHCAL", nullptr},    {"UPDATECASECON", nullptr},
    {"UPDATEORDERS", nullptr},      {"UPDATEHHA_ASSIGN", nullptr},
    {"UPDATEMEDICATIONS", nullptr}, {"UPDATEDISCHARGESUMMARY", nullptr},
    {"UPDATEPHYSCIANS", nullptr},
};

}  // namespace

std::span<const EntryPointRow> FormEntryPoints() {
  return kEntryPoints;
}

}  // namespace carelog::app
