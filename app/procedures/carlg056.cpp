// PRINTHHA: one aide assignment sheet: the sheet's three columns (update date, start of
// services, bath and range of motion), the aide's and the homemaker/companion's tasks with a mark
// per column, the two other jobs and the special instructions. The column heads show the update
// dates from the band's own date array, filled before the band.
#include <array>
#include <cstring>

#include "app/data/records.h"
#include "app/procedures/report_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;
constexpr FileId kFiles[] = {FileId::kHhaAssign};
constexpr FileId H = FileId::kHhaAssign;

// The tasks in band order, three marks each: the aide's first, then the homemaker's.
constexpr const char* kTasks[] = {
    "HHA:TEMP",
    "HHA:RESP_PULSE",
    "HHA:B_P",
    "HHA:WEIGHT",
    "HHA:HAIR",
    "HHA:SHAVE",
    "HHA:SKIN_CARE",
    "HHA:NAIL_CARE",
    "HHA:ORAL_DENTAL_CARE",
    "HHA:DRESSING",
    "HHA:TOLIETING",
    "HHA:INCONTINENCE",
    "HHA:CATHETER_CARE",
    "HHA:ASSIST_AMBULATION",
    "HHA:TRANSFERS",
    "HHA:MEAL_PREP",
    "HHA:SHOPPING",
    "HHA:SAFETY",
    "HHA:REMIND_MEDS",
    "HHA:NON_STERILE_DRESSING",
    "HHA:LIGHT_HOUSEKEEPING",
    "HHA:LINEN_LAUNDRY",
    "HHA:CONVENIENCE_SERVICES",
    "HHA:DOG_WALKING_PET_CARE",
    "HHA:HOUSE_CHECK",
    "HHA:PET_CARE_HOUSE_CHECK",
    "HHA:LAUNDRY",
    "HHA:SHOPPING_PERSONAL_OUTINGS",
    "HHA:ESCORT_OUT_OF_BUILDING",
    "HHA:MEAL_ESCORT_BREAKFAST",
    "HHA:MEAL_ESCORT_LUNCH",
    "HHA:MEAL_ESCORT_DINNER",
    "HHA:WAKE_UP_CARE",
    "HHA:BEDTIME_CARE",
    "HHA:DAILY_SPOT_CHECKS",
    "HHA:REMIND_MED",
    "HHA:TELEPHONE_REASSURANCE",
    "HHA:MAINTAIN_SAFE_ENVIRON",
    "HHA:HOUSE_CLEANING",
    "HHA:CARE_OF_BATHROOM_FLOOR",
    "HHA:CARE_OF_KITCHEN_FLOOR",
    "HHA:DUST",
    "HHA:VACUUM",
    "HHA:OVEN_CLEANING",
    "HHA:WASHWIN",
};
constexpr int kTaskCount = static_cast<int>(std::size(kTasks));
constexpr int kFirstTask = 30;  // task t, column c (0..2) is control kFirstTask + 3t + c
constexpr int kFirstOther = kFirstTask + 3 * kTaskCount;  // the two other jobs' names
constexpr int kFirstOtherJob = kFirstOther + 2;           // their six marks, three each

// The column heads showing the update dates: the sheet's column table and the two task panels.
constexpr int kDateHeads[] = {14, 15, 16, 26, 27, 28, 173, 174, 175};

constexpr ReportUse kSheetUses[] = {
    {10, H, "HHA:PATIENT_NUMBER"},
    {11, H, "HHA:REC_NO"},
    {12, H, "HHA:DATE"},
    {13, H, "HHA:SOC"},
    {17, H, "HHA:START_OF_SERVICES", 1},
    {18, H, "HHA:START_OF_SERVICES", 2},
    {19, H, "HHA:START_OF_SERVICES", 3},
    {20, H, "HHA:CLEAN", 1},
    {21, H, "HHA:CLEAN", 2},
    {22, H, "HHA:CLEAN", 3},
    {23, H, "HHA:ROM", 1},
    {24, H, "HHA:ROM", 2},
    {25, H, "HHA:ROM", 3},
    {kFirstOther, H, "HHA:OTHER", 1},
    {kFirstOther + 1, H, "HHA:OTHER", 2},
    {176, H, "HHA:SPECIAL_INSTRUCTIONS", 1},
    {177, H, "HHA:SPECIAL_INSTRUCTIONS", 2},
};
constexpr int kSheetCount = static_cast<int>(std::size(kSheetUses));

constexpr auto kUses = [] {
  std::array<ReportUse, kSheetCount + 3 * kTaskCount + 6> uses{};
  int n = 0;
  for (const ReportUse& use : kSheetUses) uses[n++] = use;
  for (int t = 0; t < kTaskCount; ++t) {
    for (uint32_t c = 1; c <= 3; ++c) {
      uses[n++] = {kFirstTask + 3 * t + static_cast<int>(c) - 1, H, kTasks[t], c};
    }
  }
  for (uint32_t j = 1; j <= 6; ++j) {
    uses[n++] = {kFirstOtherJob + static_cast<int>(j) - 1, H, "HHA:OTHER_JOB", j};
  }
  return uses;
}();

thread_local int32_t update_dates[3];

void Locals(window::UseTable* uses) {
  for (size_t i = 0; i < std::size(kDateHeads); ++i) {
    uses->push_back(window::use::Long(kDateHeads[i], &update_dates[i % 3]));
  }
}

void Prepare() {
  std::memcpy(update_dates, appdata::HHA.UPDATE_DATE, sizeof update_dates);
}

}  // namespace

const ReportTable kPrinthha = {
    .name = "PRINTHHA",
    .module = "carelog.cpp$carlg056",
    .report = "PRINTHHA$REPORT",
    .progress_window = "PRINTHHA$PROGRESSWINDOW",
    .files = kFiles,
    .primary = FileId::kHhaAssign,
    .order_key = "HHA:REC_NO_KEY",
    .filter = "HHA:Rec_No = Report:Save::HHA:Rec_No",
    .selector_field = "HHA:REC_NO",
    .selector_name = "Report:Save::HHA:Rec_No",
    .expected = 1,
    .title = "Printing Report",
    .preview = false,
    .detail_band = 500,
    .patient_field = nullptr,
    .uses = kUses,
    .hooks = {.locals = &Locals, .prepare = &Prepare},
};

void PRINTHHA() {
  RunReport(kPrinthha);
}

}  // namespace carelog::app
