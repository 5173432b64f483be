#include "app/main_frame.h"

#include <cstdlib>
#include <iterator>
#include <memory>

#include "app/display_font.h"
#include "app/procedure_catalogue.h"
#include "app/procedure_frame.h"
#include "runtime/values/clock.h"
#include "runtime/values/picture.h"
#include "runtime/window/properties.h"
#include "runtime/window/window_runtime.h"

namespace carelog::app {
namespace {

constexpr MenuItemRow kMainMenu[] = {
    {-3, ItemAction::kDefaultFont, nullptr, 0},                        // &Default Font
    {-11, ItemAction::kStartProcedure, "BROWSEALL", 64000},            // &Browse Patients
    {-12, ItemAction::kStartProcedure, "BROWSEDATE", 25000},           // Browse by &Date
    {-13, ItemAction::kStartProcedure, "BROWSEPHYSICIANS", 25000},     // Browse Doc&tors
    {-14, ItemAction::kStartProcedure, "BROWSE_ALL_PROGRESS", 25000},  // &Browse Progress Notes
    {-16, ItemAction::kCallProcedure, "PRINTLIST", 0},                 // Print Daily &Visit Log
    {-18, ItemAction::kCallProcedure, "PRINTTODAY", 0},                // Print &Notes
    {-20, ItemAction::kStartProcedure, "BROWSEDATES", 25000},          // BrowseDates
};

constexpr FrameProcedureTable kMain = {"MAIN", kFrameModule, kFrameLabel, kMainMenu};

const MenuItemRow* RowOf(std::span<const MenuItemRow> menu, int item) {
  for (const MenuItemRow& row : menu) {
    if (row.item == item) return &row;
  }
  return nullptr;
}

void Perform(const MenuItemRow& row) {
  switch (row.action) {
    case ItemAction::kDefaultFont:
      ChooseDefaultFont();
      return;
    case ItemAction::kStartProcedure:
      StartProcedure(row.procedure,
                     row.stack_size);  // a browse that cannot start just does not appear
      return;
    case ItemAction::kCallProcedure:
      CallProcedureByName(row.procedure);
      return;
  }
}

// Seven names of nine characters each, Sunday first: day number 0 modulo 7 is a Sunday.
constexpr char kDayNames[] = "Sunday   Monday   Tuesday  WednesdayThursday Friday   Saturday ";
static_assert(sizeof(kDayNames) - 1 == 63);
constexpr size_t kDayNameWidth = 9;

std::string Clipped(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

constexpr int kLowestTimer = 1;
constexpr int kHighestTimer = 100;

void KeepTimerInRange() {
  int interval = std::atoi(window::GetProperty(0, window::prop::kTimer).c_str());
  if (interval < kLowestTimer || interval > kHighestTimer) {
    window::SetProperty(0, window::prop::kTimer, std::to_string(kHighestTimer));
  }
}

void ShowDateAndTime() {
  window::SetProperty(0, window::prop::kStatusText, DayAndDateText(values::Today()), kDateZone);
  window::SetProperty(0, window::prop::kStatusText, TimeText(values::TimeOfDay()), kTimeZone);
}

std::unique_ptr<window::Structure> app_frame;  // under the semaphore

}  // namespace

std::string DayAndDateText(int32_t standard_date) {
  size_t index = static_cast<size_t>(((standard_date % 7) + 7) % 7);
  std::string name = Clipped(std::string(kDayNames + index * kDayNameWidth, kDayNameWidth));
  std::string date = values::Format(standard_date, "@D4");
  date.erase(0, date.find_first_not_of(' '));
  return name + ", " + Clipped(date);
}

std::string TimeText(int32_t standard_time) {
  // Exactly as the picture writes it: an hour below 10 keeps its leading blank (" 9:05AM").
  return values::Format(standard_time, "@T3");
}

window::Structure& DeclareAppFrame(const char* module, const char* label) {
  app_frame = std::make_unique<window::Structure>(window::StructureKind::kApplication, label,
                                                  module, window::UseTable{});
  return *app_frame;
}

void DisposeAppFrame() {
  app_frame.reset();
}

void RunFrameProcedure(const FrameProcedureTable& table) {
  window::Structure& frame_window = DeclareAppFrame(table.module, table.window_label);
  const CatalogueRow* row = FindProcedure(table.name);
  ProcedureFrame frame(frame_window, row && row->takes_default_font);
  LoadDisplayFont();
  window::SetProperty(window::kSystemTarget, window::prop::kKey, "1");
  if (!frame.Open()) return frame.Return();
  KeepTimerInRange();
  ShowDateAndTime();
  while (window::Accept()) {
    if (frame.TakeWindowEvent()) continue;
    switch (window::Event()) {
      case window::event::kTimer:
        ShowDateAndTime();
        break;
      case window::event::kAccepted:
        if (const MenuItemRow* item = RowOf(table.menu, window::Accepted())) {
          Perform(*item);
          frame.Refresh();
        }
        break;
      default:
        break;
    }
  }
  frame.Return();
}

void MAIN() {
  RunFrameProcedure(kMain);
}

}  // namespace carelog::app
