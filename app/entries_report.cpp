// The reports and their preview.
#include "app/procedure_entries.h"
#include "app/procedures/report_procedures.h"
#include "app/report_preview.h"

namespace carelog::app {
namespace {

constexpr EntryPointRow kEntryPoints[] = {
    {"PRINTTODAY", &PRINTTODAY},
    {"PRINTLIST", &PRINTLIST},
    {"PRINTPROGRESS", &PRINTPROGRESS},
    {"PRINT485", &PRINT485},
    {"PRINTADDENDUM", &PRINTADDENDUM},
    {"PRINTSUMMARY", &PRINTSUMMARY},
    {"PRINTHHA", &PRINTHHA},
    {"PRINTCAREPLAN", &PRINTCAREPLAN},
    {"PRINTNARRATIVE", &PRINTNARRATIVE},
    {"PRINTNEWMEDS", &PRINTNEWMEDS},
    {"PRINTDISCHARGE", &PRINTDISCHARGE},
    {"PRINTMONTH", &PRINTMONTH},
    {"PRINTINFO", &PRINTINFO},
    {"PRINTCASECON", &PRINTCASECON},
    {"REPORTPREVIEW", &REPORTPREVIEW},
};

}  // namespace

std::span<const EntryPointRow> ReportEntryPoints() {
  return kEntryPoints;
}

}  // namespace carelog::app
