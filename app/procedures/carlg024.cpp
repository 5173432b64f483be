// BROWSEMON:PATIENTNUMBERKEY: the MonthCal File by MON:PatientNumberKey.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kMonthCal, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "MON:PATIENTNUMBERKEY",
     "MON:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {{"MON:PATIENT_NUMBER"}, {"MON:RECNO"}, {"MON:CALENDARDATE"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kInsert, nullptr}, {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr}, {6, ButtonRole::kClose, nullptr},
    {7, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsemonPatientnumberkey = {
    "BROWSEMON:PATIENTNUMBERKEY",
    "carelog.cpp$carlg024",
    "BROWSEMON:PATIENTNUMBERKEY$QUICKWINDOW",
    FileId::kMonthCal,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "UPDATEMONTHCAL",
    false,
    false,
    nullptr,
};

void BROWSEMON_PATIENTNUMBERKEY() {
  RunBrowse(kBrowsemonPatientnumberkey);
}

}  // namespace carelog::app
