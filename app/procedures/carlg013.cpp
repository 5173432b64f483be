// BROWSESIX:PATKEY: the SixtyDay File by SIX:PatKey.
#include "app/patterns/browse_loop.h"
#include "app/procedures/browse_procedures.h"
#include "app/procedures/vital_ranges.h"

namespace carelog::app {
namespace {

using appdata::FileId;

constexpr FileId kFiles[] = {FileId::kPatients, FileId::kSixtyDay};
constexpr SortOrder kOrders[] = {
    {nullptr,
     "SIX:PATKEY",
     "SIX:Patient_Number = BRW1::Sort1:Reset:PAT:Patient_Number",
     "Sort1:Reset:PAT:Patient_Number",
     {FileId::kPatients, "PAT:PATIENT_NUMBER"}},
};
namespace vr = vital_ranges;
constexpr ColumnRow kColumns[] = {
    {"SIX:PATIENT_NUMBER"}, {"SIX:RECNO"},    {"SIX:START_DATE"},
    {"SIX:END_DATE"},       {"SIX:LOWTEMP"},  {"SIX:HIGHTEMP"},
    {"SIX:LOWPULSE", vr::kSixtyDayPulse},     {"SIX:HIGHPULSE"},
    {"SIX:LOWRESP", vr::kSixtyDayResp},
};
constexpr ButtonRow kButtons[] = {
    {2, ButtonRole::kPrint, "PRINTSUMMARY"}, {4, ButtonRole::kInsert, nullptr},
    {5, ButtonRole::kChange, nullptr},       {6, ButtonRole::kDelete, nullptr},
    {7, ButtonRole::kClose, nullptr},        {8, ButtonRole::kHelp, nullptr},
};

}  // namespace

const BrowseTable kBrowsesixPatkey = {
    "BROWSESIX:PATKEY",
    "carelog.cpp$carlg013",
    "BROWSESIX:PATKEY$QUICKWINDOW",
    FileId::kSixtyDay,
    kFiles,
    kOrders,
    kColumns,
    nullptr,
    1,
    3,
    kButtons,
    {},
    "UPDATESIXTYDAY",
    false,
    false,
    nullptr,
};

void BROWSESIX_PATKEY() {
  RunBrowse(kBrowsesixPatkey);
}

}  // namespace carelog::app
