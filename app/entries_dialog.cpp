// The date-picking calendar and the small text dialog. A run function of nullptr: not built yet.
#include "app/procedure_entries.h"

namespace carelog::app {
namespace {

constexpr EntryPointRow kEntryPoints[] = {
    {"CALENDAR", nullptr},
    {"GETINFO", nullptr},
};

}  // namespace

std::span<const EntryPointRow> DialogEntryPoints() {
  return kEntryPoints;
}

}  // namespace carelog::app
