// BROWSECALENDERS: the MonthCal File.
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
constexpr ColumnRow kColumns[] = {{"PAT:NAME"}, {"MON:CALENDARDATE"}};
constexpr LookupRow kLookup = {FileId::kPatients, "PAT:KEY_PATIENT_NUMBER", "MON:PATIENT_NUMBER"};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kSelect, nullptr}, {3, ButtonRole::kPrint, "PRINTMONTH"},
    {5, ButtonRole::kInsert, nullptr}, {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr}, {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsecalenders = {
    "BROWSECALENDERS",
    "carelog.cpp$carlg023",
    "BROWSECALENDERS$QUICKWINDOW",
    FileId::kMonthCal,
    kFiles,
    kOrders,
    kColumns,
    &kLookup,
    1,
    4,
    kButtons,
    {},
    "UPDATEMONTHCAL",
    false,
    false,
    nullptr,
};

void BROWSECALENDERS() {
  RunBrowse(kBrowsecalenders);
}

}  // namespace carelog::app
