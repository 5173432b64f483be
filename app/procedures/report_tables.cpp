// The built report tables.
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

constexpr const ReportTable* kTables[] = {
    &kPrinttoday,     &kPrintlist,     &kPrintprogress, &kPrintnewmeds,   &kPrint485,
    &kPrintnarrative, &kPrintinfo,     &kPrintcasecon,  &kPrintdischarge, &kPrintcareplan,
    &kPrintsummary,   &kPrintaddendum, &kPrinthha,      &kPrintmonth};

}  // namespace

std::span<const ReportTable* const> ReportTables() {
  return kTables;
}

}  // namespace carelog::app
