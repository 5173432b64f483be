// BROWSEDATES: Patient Names.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kCalendar, FileId::kPatients};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "DAT:DATEKEY",
     "DAT:DayNo = LOC:Date",
     "Sort1:Reset:LOC:Date",
     {FileId::kPatients, nullptr}},
};
constexpr ColumnRow kColumns[] = {{"PAT:NAME"},         {"DAT:TIMEIN"},    {"DAT:TIMEOUT"},
                                  {"PAT:PHONE_NUMBER"}, {"PAT:ADDRESS_1"}, {"PAT:ADDRESS_2"},
                                  {"PAT:CITY"},         {"PAT:PHARMACY"},  {"PAT:PHARMACY_PHONE"}};
constexpr LookupRow kLookup = {FileId::kPatients, "PAT:KEY_PATIENT_NUMBER", "DAT:PATIENT_NUMBER"};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kSelect, nullptr}, {3, ButtonRole::kPrint, nullptr},
    {5, ButtonRole::kInsert, nullptr}, {6, ButtonRole::kChange, nullptr},
    {7, ButtonRole::kDelete, nullptr}, {8, ButtonRole::kClose, nullptr},
    {9, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsedates = {
    "BROWSEDATES",
    "carelog.cpp$carlg008",
    "BROWSEDATES$BROWSEWINDOW",
    FileId::kCalendar,
    kFiles,
    kOrders,
    kColumns,
    &kLookup,
    1,
    4,
    kButtons,
    {},
    "ADDAPPOINT",
    true,
    false,
    "LOC:Date",
};

void BROWSEDATES() {
  RunBrowse(kBrowsedates);
}

}  // namespace carelog::app
