// PRINTMONTH: one month calendar of nurse visits. Before the band the month's name and year are
// taken from MON:CALENDARDATE and its six weeks are laid out by the month grid the calendar
// dialogs use, so cell i shows the day of the month in that cell (blank outside the month) with
// the calendar's entry for cell i. A calendar date outside the shown dates prints a blank month.
#include <array>
#include <cstring>

#include "app/data/records.h"
#include "app/month_grid.h"
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kMonthCal, FileId::kPatients};
constexpr FileId MON_FILE = FileId::kMonthCal;

enum Control { kMonthName = 10, kYear = 11, kFirstDay = 20, kFirstEntry = 70 };

struct MonthHeading {
  char name[9];
  int32_t year = 0;
  int32_t days[kGridCells] = {};
};
thread_local MonthHeading heading;

constexpr auto kUses = [] {
  std::array<ReportUse, 3 + kGridCells> uses{};
  uses[0] = {12, FileId::kPatients, "PAT:NAME"};
  uses[1] = {13, MON_FILE, "MON:PATIENT_NUMBER"};
  uses[2] = {14, MON_FILE, "MON:RECNO"};
  for (int cell = 0; cell < kGridCells; ++cell) {
    uses[3 + cell] = {kFirstEntry + cell, MON_FILE, "MON:DAY_INFO",
                      static_cast<uint32_t>(cell) + 1};
  }
  return uses;
}();

void Locals(window::UseTable* uses) {
  uses->push_back(window::use::String(kMonthName, heading.name));
  uses->push_back(window::use::Long(kYear, &heading.year));
  for (int cell = 0; cell < kGridCells; ++cell) {
    uses->push_back(window::use::Long(kFirstDay + cell, &heading.days[cell]));
  }
}

void Prepare() {
  MonthFill fill = FillMonth(appdata::MON.CALENDARDATE, 0);
  std::memset(heading.name, ' ', sizeof heading.name);
  heading.year = 0;
  for (int cell = 0; cell < kGridCells; ++cell) {
    heading.days[cell] = fill.out_of_limits ? 0 : fill.DayOfCell(cell + 1);
  }
  if (fill.out_of_limits) return;
  std::memcpy(heading.name, kMonthNames + (fill.month - 1) * sizeof heading.name,
              sizeof heading.name);
  heading.year = fill.year;
}

}  // namespace

const ReportTable kPrintmonth = {
    .name = "PRINTMONTH",
    .module = "carelog.cpp$carlg061",
    .report = "PRINTMONTH$REPORT",
    .progress_window = "PRINTMONTH$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kMonthCal,
    .order_key = "MON:RECNOKEY",
    .filter = "MON:RecNO = Report:Save::MON:RecNO",
    .selector_field = "MON:RECNO",
    .selector_name = "Report:Save::MON:RecNO",
    .expected = 0,
    .title = "Generating Report",
    .preview = true,
    .detail_band = 500,
    .patient_field = "MON:PATIENT_NUMBER",
    .uses = kUses,
    .hooks = {.locals = &Locals, .prepare = &Prepare},
};

void PRINTMONTH() {
  RunReport(kPrintmonth);
}

}  // namespace carelog::app
