// The day of the daily reports. The date picker is reached through a chooser that, until the
// calendar dialog is linked in, keeps the day it is given (today).
#include "app/data/records.h"
#include "app/procedures/report_procedures.h"
#include "runtime/values/clock.h"

namespace carelog::app {
namespace {

int32_t KeepTheDay(int32_t day) {
  return day;
}
DayChooser g_chooser = &KeepTheDay;

}  // namespace

void SetDayChooser(DayChooser chooser) {
  g_chooser = chooser ? chooser : &KeepTheDay;
}

int32_t ChooseReportDay(int32_t day) {
  return g_chooser(day);
}

void AskForTheDay() {
  appdata::PRO.DATE = ChooseReportDay(values::Today());
}

}  // namespace carelog::app
