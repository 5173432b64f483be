// The entry points of the procedures, one table per pattern, each in a file of its own so that
// the patterns register their procedures without editing each other's lines:
//
//   app/entries_frame.cpp    MAIN
//   app/entries_dialog.cpp   CALENDAR, GETINFO
//   app/entries_browse.cpp   the 24 browses (BROWSEALL ... BROWSECAS:PATIENTNUMBERKEY)
//   app/entries_form.cpp     the 23 update forms (UPDATEPATIENTS ... UPDATEPHYSCIANS)
//   app/entries_report.cpp   the 14 reports and REPORTPREVIEW
//
// A row is the procedure's name and its run function, the table-driven entry of its pattern
// (e.g. {"BROWSEALL", &procedures::BROWSEALL}); a run function of nullptr, or a procedure not
// listed, is not built yet. A pattern library that defines run functions is linked into
// carelog_app by adding it to the DEPS of app/CMakeLists.txt (static libraries may depend on
// each other both ways).
#pragma once

#include <span>

#include "app/procedure_catalogue.h"

namespace carelog::app {

struct EntryPointRow {
  const char* name;
  ProcedureEntry run;
};

std::span<const EntryPointRow> FrameEntryPoints();
std::span<const EntryPointRow> DialogEntryPoints();
std::span<const EntryPointRow> BrowseEntryPoints();
std::span<const EntryPointRow> FormEntryPoints();
std::span<const EntryPointRow> ReportEntryPoints();

}  // namespace carelog::app
