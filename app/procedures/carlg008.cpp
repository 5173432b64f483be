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
// Each item of the Forms menu opens the highlighted appointment's patient in a browse of its own.
constexpr MenuRow kMenu[] = {
    {-2, "BROWSEPRO:KEY_PATIENT_NUMBER"},
    {-3, "BROWSECAR:KEY_PATIENT_NUMBER"},
    {-4, "BROWSEMED:KEY_PATIENT_NUMBER"},
    {-5, "BROWSENAR:PATIENT_NUMBER_KEY"},
    {-6, "BROWSEDIS:KEY_PATIENT_NUMBER"},
    {-7, "BROWSEHHA:PATIENT_NO_KEY"},
    {-8, "BROWSESIX:PATKEY"},
    {-9, "BROWSEORD:PATKEY"},
    {-11, "BROWSEDOC:KEY_PATIENT_NUMBER"},
    {-12, "BROWSEFAM:KEY_PATIENT_NUMBER"},
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
    kMenu,
    "ADDAPPOINT",
    true,
    false,
    "LOC:Date",
};

void BROWSEDATES() {
  RunBrowse(kBrowsedates);
}

}  // namespace carelog::app
