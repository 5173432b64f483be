// BROWSEDAT:PATKEY: the Calendar File by DAT:PatKey.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kCalendar, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "DAT:PATKEY",
     "DAT:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
constexpr ColumnRow kColumns[] = {
    {"DAT:PATIENT_NUMBER"}, {"DAT:DAYNO"}, {"DAT:TIMEIN"}, {"DAT:TIMEOUT"}, {"DAT:NOTES"}};
constexpr ButtonRow kButtons[] = {
    {3, ButtonRole::kInsert, nullptr}, {4, ButtonRole::kChange, nullptr},
    {5, ButtonRole::kDelete, nullptr}, {6, ButtonRole::kClose, nullptr},
    {7, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsedatPatkey = {
    "BROWSEDAT:PATKEY",
    "carelog.cpp$carlg015",
    "BROWSEDAT:PATKEY$QUICKWINDOW",
    FileId::kCalendar,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    2,
    kButtons,
    {},
    "UPDATECALENDAR",
    false,
    false,
    nullptr,
};

void BROWSEDAT_PATKEY() {
  RunBrowse(kBrowsedatPatkey);
}

}  // namespace carelog::app
