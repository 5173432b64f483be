// The date-picking calendar and the small text dialog.
#include "app/calendar.h"
#include "app/procedure_entries.h"

namespace carelog::app {
namespace {

constexpr EntryPointRow kEntryPoints[] = {
    {"CALENDAR", &CALENDAR},
    {"GETINFO", &GETINFO},
};

}  // namespace

std::span<const EntryPointRow> DialogEntryPoints() {
  return kEntryPoints;
}

}  // namespace carelog::app
